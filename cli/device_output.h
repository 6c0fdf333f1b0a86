#pragma once

#include <iosfwd>
#include <span>

namespace kestrelink::cli {

struct DiscoveredDevice;

enum class OutputFormat { Table, Csv, Json };

// Every format lists the same fields in the same order; texts are written as UTF-8.
// table: the window's column headers plus "Interface", "Conflict" and "Outside", columns padded
//        with spaces; control characters and bytes that are not UTF-8 are shown as \xHH.
// csv: header ip,mac,product,name,version,serial,family,interface,conflict,outside; the last two
//      are true or false.
// json: an array of objects with those keys; serial is a number, conflict and outside booleans.
void WriteDevices(std::ostream& out, OutputFormat format,
                  std::span<const DiscoveredDevice> devices);

}  // namespace kestrelink::cli
