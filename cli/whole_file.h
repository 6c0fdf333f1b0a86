#pragma once

#include <optional>
#include <string>

namespace kestrelink::cli {

// The file's bytes as they are; nullopt, with errno telling why, when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::string& path);

}  // namespace kestrelink::cli
