#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "behaviour/file_contents.h"

namespace kestrelink::win32 {

// Replaces the file at path (UTF-8) with bytes, whole or not at all: written to a temporary name
// beside it, flushed, then moved over it, the move waiting a moment while another program holds
// either file. Nullopt on success; otherwise the system's words for
// the failure, and an earlier file at path is left as it was.
std::optional<std::string> ReplaceFileWhole(const std::string& path, std::string_view bytes);

// The whole file at path (UTF-8), or why it could not be read in the system's words.
FileContents ReadFileWhole(const std::string& path);

// The system's message for error, UTF-8, without its line end.
std::string SystemErrorText(unsigned long error);

}  // namespace kestrelink::win32
