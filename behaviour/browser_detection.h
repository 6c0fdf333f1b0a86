#pragma once

namespace kestrelink {

class RegistryReader;

bool IsIeInstalled(const RegistryReader& registry);
bool IsIeDefaultHttpHandler(const RegistryReader& registry);

// Whether to offer "Force IE only": that browser is installed and is not the default handler of
// HTTP. The second probe is made only when the first one says installed.
bool ShowForceIeOption(const RegistryReader& registry);

}  // namespace kestrelink
