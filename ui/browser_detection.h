#pragma once

namespace kestrelink {

// Whether to offer "Force IE only": that browser is installed and is not the default handler of
// HTTP. Always false where the system has no registry to say so.
bool ShowForceIeOption();

}  // namespace kestrelink
