#pragma once

#include "behaviour/registry_reader.h"

namespace kestrelink::win32 {

// The system registry, opened for reading only (the browser probes never write).
class SystemRegistryReader final : public RegistryReader {
public:
    SystemRegistryReader() = default;

    // The value's data in the active code page, UTF-8, as the single-byte interface gives it.
    std::optional<std::string> ReadValue(RegistryRoot root, std::string_view subkey,
                                         std::string_view valueName) const override;
};

}  // namespace kestrelink::win32
