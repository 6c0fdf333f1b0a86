#include "cli/utf8_chunks.h"

namespace kestrelink::cli {

std::size_t WholeUtf8Length(std::string_view bytes) {
    // A sequence is at most four bytes: only the last three can belong to an unfinished one.
    const std::size_t size = bytes.size();
    for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(bytes[size - back]);
        if ((byte & 0xC0) == 0x80) {
            continue;  // a continuation byte: look further back for its lead
        }
        const std::size_t needed = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return needed > back ? size - back : size;
    }
    return size;
}

}  // namespace kestrelink::cli
