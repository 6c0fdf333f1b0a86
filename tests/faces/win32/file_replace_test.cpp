#include "faces/win32/file_replace.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace kestrelink::win32 {
namespace {

namespace fs = std::filesystem;

class FileReplaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() /
                   ("kestrelink-replace-" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    static std::string Contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void Write(const fs::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    int EntriesInFolder() const {
        return static_cast<int>(std::distance(fs::directory_iterator(m_folder), {}));
    }

    fs::path m_folder;
};

TEST_F(FileReplaceTest, AnEarlierFileIsReplacedWholeAndNoTemporaryIsLeft) {
    const fs::path target = m_folder / "devices.csv";
    Write(target, "an earlier, longer export that must not show through\n");

    EXPECT_EQ(ReplaceFileWhole(target.string(), "ip,mac\n10.0.0.1,02:00:00:00:00:01\n"),
              std::nullopt);

    EXPECT_EQ(Contents(target), "ip,mac\n10.0.0.1,02:00:00:00:00:01\n");
    EXPECT_EQ(EntriesInFolder(), 1);
}

TEST_F(FileReplaceTest, ANameOutsideAsciiIsWrittenUnderThatName) {
    const fs::path target = m_folder / fs::path(u8"Gerätelist\u00e9.csv");

    EXPECT_EQ(ReplaceFileWhole(reinterpret_cast<const char*>(target.u8string().c_str()), "x\n"),
              std::nullopt);

    EXPECT_EQ(Contents(target), "x\n");
}

TEST_F(FileReplaceTest, AFailedReplaceSaysWhyAndLeavesTheEarlierFile) {
    // A folder in the way: the move cannot put a file there.
    const fs::path target = m_folder / "taken";
    fs::create_directory(target);
    Write(target / "inside.txt", "kept");

    const std::optional<std::string> failure = ReplaceFileWhole(target.string(), "new\n");

    ASSERT_TRUE(failure.has_value());
    EXPECT_FALSE(failure->empty());
    EXPECT_EQ(Contents(target / "inside.txt"), "kept");
    EXPECT_EQ(EntriesInFolder(), 1);
}

TEST_F(FileReplaceTest, AMissingFolderIsAFailureWithTheSystemsWords) {
    const fs::path target = m_folder / "no such folder" / "devices.csv";

    const std::optional<std::string> failure = ReplaceFileWhole(target.string(), "new\n");

    ASSERT_TRUE(failure.has_value());
    EXPECT_NE(failure->find_first_not_of("0123456789 "), std::string::npos) << *failure;
    EXPECT_FALSE(fs::exists(target.parent_path()));
}

}  // namespace
}  // namespace kestrelink::win32
