#pragma once

#include <iosfwd>
#include <span>

namespace kestrelink::cli {

struct DiscoveredDevice;

enum class OutputFormat { Table, Csv, Json };

// Every format lists the same fields in the same order; texts are written as UTF-8.
// table: the window's column headers plus "Interface" and "Conflict", columns padded with spaces.
// csv: header ip,mac,product,name,version,serial,family,interface,conflict; conflict is
//      true or false.
// json: an array of objects with those keys; serial is a number, conflict a boolean.
void WriteDevices(std::ostream& out, OutputFormat format,
                  std::span<const DiscoveredDevice> devices);

}  // namespace kestrelink::cli
