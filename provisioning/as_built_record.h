#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "net/datagrams.h"
#include "net/protocol.h"
#include "provisioning/provisioning_run.h"

// The as-built record: one CSV row per device of a run, what it was, what it was to become, what
// became of its request and when. The command-line program and the window write it alike.
namespace kestrelink::provisioning {

struct RecordEntry {
    std::string mac;
    std::uint32_t serialNumber = 0;
    std::string productName;  // the device's own single-byte texts, as announced before
    DeviceFamily family = DeviceFamily::Bits08;
    std::string oldIp;
    std::string oldName;
    IpSettings settings;  // what its request carries; the password is never written
    unsigned requests = 0;
    Outcome outcome = Outcome::StoppedUnsent;
    std::string reason;  // the words of its result, UTF-8
    std::optional<std::chrono::system_clock::time_point> sentAt;
    std::optional<std::chrono::system_clock::time_point> confirmedAt;
};

// The record's header line and one line per entry. Device texts carry the spreadsheet guard.
std::string FormatRecord(std::span<const RecordEntry> entries);

// "2026-12-09T17:30:05.250Z".
std::string IsoUtc(std::chrono::system_clock::time_point time);

// The wall-clock time of a moment the run measured on its steady clock.
std::chrono::system_clock::time_point WallClockOf(std::chrono::steady_clock::time_point moment);

// Writes bytes beside path and moves them over it, so that path holds either its old content or
// all of bytes; nullopt on success, otherwise why not. path is UTF-8.
std::optional<std::string> ReplaceFileWhole(const std::string& path, std::string_view bytes);

}  // namespace kestrelink::provisioning
