#include "faces/win32/registry_state_storage.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace kestrelink::win32 {
namespace {

constexpr wchar_t kStateKey[] = L"Software\\Kestrelink";

// Each case starts from a user who never ran the program, and leaves none of its state behind.
class RegistryStateStorageTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kStateKey); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kStateKey); }

    static void WriteText(const wchar_t* name, const std::wstring& text) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kStateKey, 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    static void WriteNumber(const wchar_t* name, DWORD number) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kStateKey, 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                       sizeof(number));
        RegCloseKey(key);
    }
};

TEST_F(RegistryStateStorageTest, NothingStoredGivesNothing) {
    const StoredWindowState stored = RegistryStateStorage().Load();

    EXPECT_FALSE(stored.size.has_value());
    EXPECT_FALSE(stored.position.has_value());
    EXPECT_FALSE(stored.maximized.has_value());
    EXPECT_FALSE(stored.columnWidths.has_value());
    EXPECT_FALSE(stored.sortColumn.has_value());
    EXPECT_FALSE(stored.ascending.has_value());
}

TEST_F(RegistryStateStorageTest, WhatIsSavedIsLoadedBack) {
    WindowState state;
    state.size = WindowSize{900, 400};
    state.position = WindowPoint{-1200, 35};  // a screen left of the primary one
    state.columnWidths = {100, 120, 150, 150, 80, 100, 64};
    state.sort = SortState{5, true};
    RegistryStateStorage().Save(state);

    const StoredWindowState stored = RegistryStateStorage().Load();

    ASSERT_TRUE(stored.size && stored.position && stored.columnWidths);
    EXPECT_EQ(stored.size->width, 900);
    EXPECT_EQ(stored.size->height, 400);
    EXPECT_EQ(stored.position->x, -1200);
    EXPECT_EQ(stored.position->y, 35);
    EXPECT_EQ(stored.maximized, false);
    const std::vector<std::optional<int>> widths = {100, 120, 150, 150, 80, 100, 64};
    EXPECT_EQ(*stored.columnWidths, widths);
    EXPECT_EQ(stored.sortColumn, 5);
    EXPECT_EQ(stored.ascending, true);
}

TEST_F(RegistryStateStorageTest, AMaximizedWindowKeepsTheSizeAndPlaceStoredBefore) {
    WindowState normal;
    normal.size = WindowSize{700, 300};
    normal.position = WindowPoint{10, 20};
    RegistryStateStorage().Save(normal);
    WindowState maximized;
    maximized.maximized = true;
    RegistryStateStorage().Save(maximized);

    const StoredWindowState stored = RegistryStateStorage().Load();

    EXPECT_EQ(stored.maximized, true);
    ASSERT_TRUE(stored.size && stored.position);
    EXPECT_EQ(stored.size->width, 700);
    EXPECT_EQ(stored.position->y, 20);
}

TEST_F(RegistryStateStorageTest, AWidthThatIsNoNumberIsLoadedAsNone) {
    WriteText(L"ColumnWidths", L"100,wide,,7x,80");

    const StoredWindowState stored = RegistryStateStorage().Load();

    ASSERT_TRUE(stored.columnWidths.has_value());
    const std::vector<std::optional<int>> widths = {100, std::nullopt, std::nullopt, std::nullopt,
                                                    80};
    EXPECT_EQ(*stored.columnWidths, widths);
}

TEST_F(RegistryStateStorageTest, WidthsSavedAtAnotherDpiAreLoadedAt96) {
    WriteText(L"ColumnWidths", L"150,300,81");
    WriteNumber(L"ColumnWidthsDpi", 144);

    const StoredWindowState stored = RegistryStateStorage().Load();

    ASSERT_TRUE(stored.columnWidths.has_value());
    const std::vector<std::optional<int>> widths = {100, 200, 54};
    EXPECT_EQ(*stored.columnWidths, widths);
}

TEST_F(RegistryStateStorageTest, ANumberStoredAsTextIsNotTakenForOne) {
    WriteText(L"SortColumn", L"2");

    EXPECT_FALSE(RegistryStateStorage().Load().sortColumn.has_value());
}

}  // namespace
}  // namespace kestrelink::win32
