#include "tests/behaviour/support/fake_registry.h"

#include <utility>

namespace kestrelink::testing {

void FakeRegistry::Put(RegistryRoot root, std::string subkey, std::string valueName,
                       std::string data) {
    m_values[{root, std::move(subkey), std::move(valueName)}] = std::move(data);
}

std::optional<std::string> FakeRegistry::ReadValue(RegistryRoot root, std::string_view subkey,
                                                   std::string_view valueName) const {
    ++m_reads;
    const auto found = m_values.find({root, std::string(subkey), std::string(valueName)});
    if (found == m_values.end()) {
        return std::nullopt;
    }
    return found->second;
}

}  // namespace kestrelink::testing
