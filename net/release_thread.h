#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace kestrelink {

// Frees what it is given on a thread of its own, so that the caller's thread does not pay for
// it. The thread starts with the first release and is joined, once everything given is freed,
// when this object goes.
class ReleaseThread final {
public:
    ReleaseThread() = default;
    ~ReleaseThread();
    ReleaseThread(const ReleaseThread&) = delete;
    ReleaseThread& operator=(const ReleaseThread&) = delete;

    // Call from one thread only. Without a thread to be had, doomed is freed within the call.
    void Release(std::shared_ptr<void> doomed);

private:
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::shared_ptr<void>> m_doomed;
    bool m_stopping = false;
    std::thread m_thread;
};

}  // namespace kestrelink
