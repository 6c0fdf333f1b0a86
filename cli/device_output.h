#pragma once

#include <chrono>
#include <iosfwd>
#include <span>
#include <string>

#include "cli/discovered_device.h"
#include "net/device_comparison.h"
#include "net/watch_rounds.h"

namespace kestrelink::cli {

enum class OutputFormat { Table, Csv, Json };

// Every format lists the same fields in the same order; texts are written as UTF-8.
// table: the window's column headers plus "Interface", "Conflict" and "Outside", columns padded
//        with spaces; control characters and bytes that are not UTF-8 are shown as \xHH.
// csv: header ip,mac,product,name,version,serial,family,interface,conflict,outside; the last two
//      are true or false.
// json: an array of objects with those keys; serial is a number, conflict and outside booleans.
void WriteDevices(std::ostream& out, OutputFormat format,
                  std::span<const DiscoveredDevice> devices);

// A device set against an earlier list. A missing device is the earlier list's, with no
// interface and neither flag.
struct ComparedDevice {
    DiscoveredDevice device;
    DeviceChange change = DeviceChange::Same;
    // Changed only: the earlier list's address, given name and version (single-byte texts).
    std::string wasIp;
    std::string wasName;
    std::string wasVersion;
};

// The same fields, then change (same, new, changed or missing), was_ip, was_name, was_version.
// The was_ fields are empty in CSV and null in JSON unless the device changed; the table has one
// column "Change" that names, for a changed device, what it was.
void WriteComparedDevices(std::ostream& out, OutputFormat format,
                          std::span<const ComparedDevice> devices);

// One event of a watch, with the device as the event leaves it.
struct DeviceEvent {
    WatchEventKind kind = WatchEventKind::Appeared;
    std::chrono::system_clock::time_point time;
    DiscoveredDevice device;
    // Changed and Returned: the address, given name and version it had before.
    std::string wasIp;
    std::string wasName;
    std::string wasVersion;
};

// Events one line each, flushed as written, so that a reader at the other end of a pipe sees
// each as it happens. time is UTC in ISO 8601 to the second, "2026-12-09T17:30:05Z".
// table: "TIME EVENT MAC ip=IP name="NAME" version=V product="P" serial=N family=F
//        interface=I", then "conflict" and "outside" where they hold, and for changed and
//        returned "was ip=IP name="NAME" version=V".
// csv: a header line first, event,time, the device's keys, was_ip,was_name,was_version.
// json: one object per line, {"event": ..., "time": ..., the device's fields}, and the was_
//       fields for changed and returned.
class EventWriter final {
public:
    EventWriter(std::ostream& out, OutputFormat format);
    void Write(const DeviceEvent& event);

private:
    std::ostream& m_out;
    OutputFormat m_format;
};

std::string_view EventName(WatchEventKind kind);
std::string UtcTimeText(std::chrono::system_clock::time_point time);

}  // namespace kestrelink::cli
