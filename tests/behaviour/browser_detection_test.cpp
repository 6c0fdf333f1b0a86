#include "behaviour/browser_detection.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "behaviour/registry_reader.h"
#include "tests/behaviour/support/fake_registry.h"

using namespace kestrelink;
using kestrelink::testing::FakeRegistry;

namespace {

constexpr auto kIeSetupKey = "Software\\Microsoft\\IE Setup\\Setup";
constexpr auto kHttpHandlerKey = "HTTP\\shell\\open\\ddeexec\\Application";

std::string Text(const char* text) {
    return std::string(text) + '\0';
}

std::string TextOfSize(std::size_t bytesWithZero) {
    return std::string(bytesWithZero - 1, 'p') + '\0';
}

struct Probe {
    const char* name;
    std::optional<std::string> path;  // nullopt: the value is not in the registry
    std::optional<std::string> httpHandler;
    bool installed;
    bool isDefault;
    bool show;
    int reads;
};

const std::string kPath = Text("C:\\Program Files\\Internet Explorer");

class BrowserDetectionTest : public ::testing::TestWithParam<Probe> {};

TEST_P(BrowserDetectionTest, Probes) {
    const Probe& probe = GetParam();
    FakeRegistry registry;
    if (probe.path) {
        registry.Put(RegistryRoot::LocalMachine, kIeSetupKey, "Path", *probe.path);
    }
    if (probe.httpHandler) {
        registry.Put(RegistryRoot::ClassesRoot, kHttpHandlerKey, "", *probe.httpHandler);
    }

    EXPECT_EQ(ShowForceIeOption(registry), probe.show);
    EXPECT_EQ(registry.Reads(), probe.reads);
    EXPECT_EQ(IsIeInstalled(registry), probe.installed);
    EXPECT_EQ(IsIeDefaultHttpHandler(registry), probe.isDefault);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, BrowserDetectionTest,
    ::testing::Values(
        Probe{"NotInstalledSecondProbeNotMade", std::nullopt, Text("iexplore"), false, false, false,
              1},
        Probe{"InstalledNoHandler", kPath, std::nullopt, true, false, true, 2},
        Probe{"InstalledAndDefault", kPath, Text("IExplore"), true, true, false, 2},
        Probe{"HandlerDiffersInCase", kPath, Text("iexplore"), true, false, true, 2},
        Probe{"HandlerWithExtension", kPath, Text("IExplore.exe"), true, false, true, 2},
        Probe{"HandlerWithoutItsZero", kPath, std::string("IExplore"), true, true, false, 2},
        Probe{"HandlerTextEndsAtItsZero", kPath, std::string("IExplore\0junk\0", 14), true, true,
              false, 2},
        Probe{"EmptyPathValue", Text(""), std::nullopt, true, false, true, 2},
        Probe{"PathOf261Bytes", TextOfSize(261), std::nullopt, true, false, true, 2},
        Probe{"PathOf262Bytes", TextOfSize(262), Text("chrome"), false, false, false, 1},
        Probe{"HandlerOf262Bytes", kPath, Text("IExplore") + std::string(262 - 9, '\0'), true,
              false, true, 2}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
