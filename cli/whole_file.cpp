#include "cli/whole_file.h"

#include <fstream>
#include <iterator>

namespace kestrelink::cli {

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(file), {});
}

}  // namespace kestrelink::cli
