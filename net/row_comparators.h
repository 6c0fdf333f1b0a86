#pragma once

#include <string>

namespace kestrelink {

// Each returns -1, 0 or +1: negative when the first row is to come first under the given
// direction.
int CompareIp(const std::string& first, const std::string& second, bool ascending);
int CompareMac(const std::string& first, const std::string& second, bool ascending);
int CompareText(const std::string& first, const std::string& second, bool ascending);
int CompareSerial(const std::string& first, const std::string& second, bool ascending);

// The sort key of an IP cell: the address in host order, all ones for a text that does not
// convert, so such a row sorts with 255.255.255.255.
unsigned IpSortKey(const std::string& cell);
// 48-bit value with the first octet most significant; 0 for a text that does not scan.
unsigned long long MacTextToNumber(const std::string& cell);
// atoi-style reading wrapped to unsigned 32 bits: "4294967295" is the largest serial, not -1.
unsigned SerialSortKey(const std::string& cell);

}  // namespace kestrelink
