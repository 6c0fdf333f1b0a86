#include "faces/win32/help_page.h"

#include <gtest/gtest.h>

namespace kestrelink::win32 {
namespace {

struct AddressCase {
    const char* name;
    const wchar_t* path;
    int context;
    const wchar_t* address;
};

class HelpPageAddressTest : public ::testing::TestWithParam<AddressCase> {};

TEST_P(HelpPageAddressTest, AFileAddressWithTheContextsAnchor) {
    EXPECT_EQ(HelpPageAddress(GetParam().path, GetParam().context), GetParam().address);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, HelpPageAddressTest,
    ::testing::Values(
        AddressCase{"Drive", L"C:\\Program Files\\Kestrelink\\kestrelink.html", 102,
                    L"file:///C:/Program%20Files/Kestrelink/kestrelink.html#context-102"},
        AddressCase{"Network", L"\\\\server\\tools\\kestrelink.html", 129,
                    L"file://server/tools/kestrelink.html#context-129"},
        AddressCase{"BeyondAscii", L"D:\\Ger\u00e4t #2 50%\\kestrelink.html", 102,
                    L"file:///D:/Ger%C3%A4t%20%232%2050%25/kestrelink.html#context-102"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kestrelink::win32
