#include "behaviour/browser_detection.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "behaviour/registry_reader.h"

namespace kestrelink {
namespace {

// A value that does not fit this buffer fails to read, as the probes have always sized it.
constexpr std::size_t kValueBufferBytes = 261;

std::optional<std::string> ReadProbeValue(const RegistryReader& registry, RegistryRoot root,
                                          std::string_view subkey, std::string_view valueName) {
    std::optional<std::string> data = registry.ReadValue(root, subkey, valueName);
    if (data && data->size() > kValueBufferBytes) {
        return std::nullopt;
    }
    return data;
}

}  // namespace

bool IsIeInstalled(const RegistryReader& registry) {
    return ReadProbeValue(registry, RegistryRoot::LocalMachine,
                          "Software\\Microsoft\\IE Setup\\Setup", "Path")
        .has_value();
}

bool IsIeDefaultHttpHandler(const RegistryReader& registry) {
    const std::optional<std::string> data = ReadProbeValue(
        registry, RegistryRoot::ClassesRoot, "HTTP\\shell\\open\\ddeexec\\Application", "");
    if (!data) {
        return false;
    }
    // The data is a zero-terminated text; anything after the first zero is not part of it.
    return std::string_view(data->c_str()) == "IExplore";
}

bool ShowForceIeOption(const RegistryReader& registry) {
    return IsIeInstalled(registry) && !IsIeDefaultHttpHandler(registry);
}

}  // namespace kestrelink
