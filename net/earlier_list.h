#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "net/csv.h"
#include "net/device_row.h"

namespace kestrelink {

// A device list written earlier, to compare what answers now with: the command-line program's
// CSV list (header ip,mac,product,name,version,serial,family,interface,conflict,outside) or the
// window's exported list (the first seven of those keys), told apart by the header alone.
struct EarlierList {
    // In the file's order, one per MAC. The texts are single-byte, as devices send them and the
    // list holds them; the MAC cell is in the lower-case form the window lists, whatever case
    // the file used.
    std::vector<DeviceRow> devices;
};

struct EarlierListReading {
    EarlierList list;               // empty when there is an error
    std::optional<CsvError> error;  // the line (from 1) and what is wrong with it
};

// Refuses, naming the line: a file that is not CSV, a header that is neither of the two, a
// record whose field count is not the header's, a MAC that is not in the full colon form, a MAC
// listed twice, and a text that holds a character no device can send. A file with only the
// header is an empty list. In the window's file a cell may carry the spreadsheet guard, which is
// taken off; the command-line program's cells are read as they are.
EarlierListReading ReadEarlierList(std::string_view text);

}  // namespace kestrelink
