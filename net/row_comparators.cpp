#include "net/row_comparators.h"

#include "net/system_sockets.h"

#include <cctype>
#include <cstdint>

#include "net/text_forms.h"

namespace kestrelink {
namespace {

template <typename Key>
int CompareKeys(Key first, Key second, bool ascending) {
    const int order = first < second ? -1 : (second < first ? 1 : 0);
    return ascending ? order : -order;
}

}  // namespace

unsigned IpSortKey(const std::string& cell) {
    return ntohl(inet_addr(cell.c_str()));
}

unsigned long long MacTextToNumber(const std::string& cell) {
    const auto mac = ParseMacText(cell);
    if (!mac) {
        return 0;
    }
    unsigned long long value = 0;
    for (const std::uint8_t octet : *mac) {
        value = value << 8 | octet;
    }
    return value;
}

unsigned SerialSortKey(const std::string& cell) {
    std::size_t pos = 0;
    while (pos < cell.size() && std::isspace(static_cast<unsigned char>(cell[pos]))) {
        ++pos;
    }
    bool negative = false;
    if (pos < cell.size() && (cell[pos] == '+' || cell[pos] == '-')) {
        negative = cell[pos] == '-';
        ++pos;
    }
    std::uint32_t value = 0;
    while (pos < cell.size() && std::isdigit(static_cast<unsigned char>(cell[pos]))) {
        value = value * 10u + static_cast<std::uint32_t>(cell[pos] - '0');
        ++pos;
    }
    return negative ? 0u - value : value;
}

int CompareIp(const std::string& first, const std::string& second, bool ascending) {
    return CompareKeys(IpSortKey(first), IpSortKey(second), ascending);
}

int CompareMac(const std::string& first, const std::string& second, bool ascending) {
    return CompareKeys(MacTextToNumber(first), MacTextToNumber(second), ascending);
}

int CompareText(const std::string& first, const std::string& second, bool ascending) {
    // std::string::compare orders by unsigned bytes through char_traits<char>::compare (memcmp).
    const int order = first.compare(second);
    return CompareKeys(order, 0, ascending);
}

int CompareSerial(const std::string& first, const std::string& second, bool ascending) {
    return CompareKeys(SerialSortKey(first), SerialSortKey(second), ascending);
}

}  // namespace kestrelink
