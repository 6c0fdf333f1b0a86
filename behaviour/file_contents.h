#pragma once

#include <optional>
#include <string>

namespace kestrelink {

// A whole file as a face read it for the behaviour.
struct FileContents {
    std::optional<std::string> bytes;  // nullopt when it could not be read
    std::string failure;               // why, in the system's words
};

}  // namespace kestrelink
