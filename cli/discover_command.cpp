#include "cli/discover_command.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <thread>

#include "cli/diagnostic.h"
#include "cli/discovered_device.h"
#include "cli/discovery_collector.h"
#include "cli/stop_request.h"
#include "cli/whole_file.h"
#include "net/earlier_list.h"

namespace kestrelink::cli {
namespace {

std::optional<EarlierList> ReadEarlierListFile(const std::string& path, std::ostream& err) {
    const auto text = ReadWholeFile(path);
    if (!text) {
        Complain(err, "cannot read '" + path + "': " + std::strerror(errno));
        return std::nullopt;
    }
    EarlierListReading reading = ReadEarlierList(*text);
    if (reading.error) {
        Complain(err,
                 path + ":" + std::to_string(reading.error->line) + ": " + reading.error->message);
        return std::nullopt;
    }
    return std::move(reading.list);
}

// The devices heard, each with its mark, then the earlier devices not heard.
std::vector<ComparedDevice> Compared(const std::vector<DiscoveredDevice>& devices,
                                     const DeviceComparison& comparison, ComparisonCount& count) {
    std::vector<DeviceRow> rows;
    rows.reserve(devices.size());
    std::vector<RowCells> cells;
    for (const DiscoveredDevice& device : devices) {
        cells.push_back(CellsOf(rows.emplace_back(RowOf(device))));
    }
    const DeviceComparison::Result result = comparison.Compare(cells);
    std::vector<ComparedDevice> compared;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const DeviceComparison::Mark& mark = result.heard[i];
        ComparedDevice& entry = compared.emplace_back();
        entry.device = devices[i];
        entry.change = mark.change;
        if (mark.change == DeviceChange::Changed) {
            entry.wasIp = (*mark.was)[kColumnIp];
            entry.wasName = (*mark.was)[kColumnGivenName];
            entry.wasVersion = (*mark.was)[kColumnVersion];
        }
    }
    for (const DeviceRow* missing : result.missing) {
        ComparedDevice& entry = compared.emplace_back();
        entry.device = DeviceOfRow(*missing);
        entry.change = DeviceChange::Missing;
    }
    count = result.count;
    return compared;
}

ExitStatus RunWatch(const DiscoverOptions& options, InterfaceScope scope, std::ostream& out,
                    std::ostream& err) {
    const StopRequest stop;
    DeviceSession session(std::move(scope));
    session.Heard().KeepNews();
    if (!session.Open(err)) {
        return ExitStatus::Failure;
    }
    WatchOptions watch = options.watchOptions;
    watch.format = options.format;
    return WatchSegment(
        session.Heard(), [&session] { session.Probe(); }, watch,
        [&stop] { return stop.Requested(); }, out);
}

}  // namespace

ExitStatus RunDiscover(const DiscoverOptions& options, std::ostream& out, std::ostream& err) {
    InterfaceScope scope(options.interfaces);
    if (const std::string problem = scope.CheckNames(); !problem.empty()) {
        Complain(err, problem);
        return ExitStatus::BadInput;
    }
    if (options.watch) {
        return RunWatch(options, std::move(scope), out, err);
    }
    std::optional<DeviceComparison> comparison;
    if (!options.compare.empty()) {
        std::optional<EarlierList> earlier = ReadEarlierListFile(options.compare, err);
        if (!earlier) {
            return ExitStatus::BadInput;
        }
        comparison.emplace(std::move(*earlier));
    }
    DeviceSession session(std::move(scope));
    if (!session.Open(err)) {
        return ExitStatus::Failure;
    }
    std::this_thread::sleep_for(options.wait);
    const std::vector<DiscoveredDevice> devices = session.Heard().Devices();
    ComparisonCount count;
    if (comparison) {
        WriteComparedDevices(out, options.format, Compared(devices, *comparison, count));
    } else {
        WriteDevices(out, options.format, devices);
    }
    if (devices.size() < static_cast<std::size_t>(options.expect)) {
        Complain(err, "expected at least " + std::to_string(options.expect) + " devices, " +
                          std::to_string(devices.size()) + " answered within " +
                          std::to_string(options.wait.count()) + " ms");
        return ExitStatus::Failure;
    }
    if (options.failOnChange && count.Any()) {
        Complain(err,
                 "the devices differ from " + options.compare + ": " + ComparisonCountText(count));
        return ExitStatus::Failure;
    }
    return ExitStatus::Success;
}

}  // namespace kestrelink::cli
