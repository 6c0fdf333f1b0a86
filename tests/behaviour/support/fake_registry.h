#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

#include "behaviour/registry_reader.h"

namespace kestrelink::testing {

// Values found only under exactly the root, key and value name they were put at.
class FakeRegistry final : public RegistryReader {
public:
    void Put(RegistryRoot root, std::string subkey, std::string valueName, std::string data);

    std::optional<std::string> ReadValue(RegistryRoot root, std::string_view subkey,
                                         std::string_view valueName) const override;

    int Reads() const { return m_reads; }

private:
    std::map<std::tuple<RegistryRoot, std::string, std::string>, std::string> m_values;
    mutable int m_reads = 0;
};

}  // namespace kestrelink::testing
