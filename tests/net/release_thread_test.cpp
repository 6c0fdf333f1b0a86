#include "net/release_thread.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace kestrelink {
namespace {

// Notes the thread it is freed on.
class Tracked final {
public:
    explicit Tracked(std::vector<std::thread::id>& freedOn) : m_freedOn(freedOn) {}
    ~Tracked() { m_freedOn.push_back(std::this_thread::get_id()); }
    Tracked(const Tracked&) = delete;
    Tracked& operator=(const Tracked&) = delete;

private:
    std::vector<std::thread::id>& m_freedOn;
};

TEST(ReleaseThreadTest, FreesEverythingOnAnotherThreadBeforeItGoes) {
    std::vector<std::thread::id> freedOn;
    {
        ReleaseThread release;
        for (int k = 0; k < 3; ++k) {
            release.Release(std::make_shared<Tracked>(freedOn));
        }
    }
    ASSERT_EQ(freedOn.size(), 3u);
    for (const std::thread::id& id : freedOn) {
        EXPECT_NE(id, std::this_thread::get_id());
    }
}

}  // namespace
}  // namespace kestrelink
