#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrelink {

enum class RegistryRoot { LocalMachine, ClassesRoot };

// Read-only access to the system registry; a fake in tests, one that finds nothing where the
// system has no registry.
class RegistryReader {
public:
    RegistryReader() = default;
    virtual ~RegistryReader() = default;
    RegistryReader(const RegistryReader&) = delete;
    RegistryReader& operator=(const RegistryReader&) = delete;

    // The value's data as the single-byte registry interface gives it (a text with its
    // terminating zero), or nullopt when the key or the value cannot be read. subkey separates
    // its levels with backslashes; an empty valueName names the key's default value.
    virtual std::optional<std::string> ReadValue(RegistryRoot root, std::string_view subkey,
                                                 std::string_view valueName) const = 0;
};

}  // namespace kestrelink
