#pragma once

#include <string>
#include <string_view>

namespace kestrelink {

// Each returns -1, 0 or +1: negative when the first row is to come first under the given
// direction. The IP, MAC and Serial No columns compare by the sort keys below; the others by
// their text.
int CompareSortKeys(unsigned long long first, unsigned long long second, bool ascending);
int CompareText(const std::string& first, const std::string& second, bool ascending);

// The sort key of an IP cell: the address in host order, all ones for a text that does not
// convert, so such a row sorts with 255.255.255.255.
unsigned IpSortKey(const std::string& cell);
// 48-bit value with the first octet most significant; 0 for a text that does not scan.
unsigned long long MacTextToNumber(std::string_view cell);
// The leading decimal digits after any white space, as an unsigned 32-bit number, so that
// "4294967295" is the largest serial rather than -1; 0 when there are none or they do not fit.
unsigned SerialSortKey(const std::string& cell);

}  // namespace kestrelink
