#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace kestrelink::lab {

// A program run as a child process, its standard output collected line by line and its
// standard error as text. Ends the child, if still running, when it goes.
class ChildProcess final {
public:
    // extraEnvironment holds NAME=VALUE entries added to this process's environment.
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const std::vector<std::string>& extraEnvironment = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return m_pid > 0; }

    // Returns once count lines of standard output contain text, or at the timeout; the lines
    // that contain it either way.
    std::vector<std::string> WaitForLines(std::string_view text, std::size_t count,
                                          std::chrono::milliseconds timeout);
    std::optional<std::string> WaitForLine(std::string_view text,
                                           std::chrono::milliseconds timeout);
    std::vector<std::string> OutputLines() const;
    std::string ErrorText() const;

    void Signal(int signalNumber);
    // The exit status (128 + the signal for a child that a signal ended), once the child has
    // ended and its output is read; nullopt while it is still running at the timeout.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);

private:
    void ReadOutput();
    std::size_t CountLocked(std::string_view text) const;

    pid_t m_pid = -1;
    int m_pidFd = -1;
    int m_outputFd = -1;
    int m_errorFd = -1;
    std::optional<int> m_exitStatus;
    std::atomic<bool> m_stopReading{false};
    std::thread m_reader;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_lines;
    std::string m_partialLine;
    std::string m_errorText;
    bool m_outputEnded = false;  // both streams
};

}  // namespace kestrelink::lab
