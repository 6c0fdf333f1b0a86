#include "net/row_comparators.h"

#include "net/system_sockets.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "net/text_forms.h"

namespace kestrelink {

unsigned IpSortKey(const std::string& cell) {
    return ntohl(inet_addr(cell.c_str()));
}

unsigned long long MacTextToNumber(std::string_view cell) {
    const auto mac = ParseMacText(cell);
    return mac ? MacToNumber(*mac) : 0;
}

unsigned SerialSortKey(const std::string& cell) {
    const std::size_t start = std::min(cell.find_first_not_of(" \t\n\v\f\r"), cell.size());
    std::uint32_t value = 0;
    std::from_chars(cell.data() + start, cell.data() + cell.size(), value);
    return value;
}

int CompareSortKeys(unsigned long long first, unsigned long long second, bool ascending) {
    const int order = first < second ? -1 : (second < first ? 1 : 0);
    return ascending ? order : -order;
}

int CompareText(const std::string& first, const std::string& second, bool ascending) {
    // std::string::compare orders by unsigned bytes through char_traits<char>::compare (memcmp).
    const int order = first.compare(second);
    const int sign = (order > 0) - (order < 0);
    return ascending ? sign : -sign;
}

}  // namespace kestrelink
