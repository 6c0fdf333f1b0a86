#include <cstdio>
#include <span>

#include "kestrelink/version.h"
#include "tools/devsim/device_set.h"
#include "tools/devsim/options.h"
#include "tools/devsim/responder.h"
#include "tools/devsim/stop_signal.h"
#include "tools/lab/private_network.h"

int main(int argc, char** argv) {
    using namespace kestrelink::devsim;
    const CommandLine commandLine = ParseCommandLine(
        std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc - 1)));
    if (!commandLine.error.empty()) {
        std::fprintf(stderr, "kestrelink-devsim: %s\nTry 'kestrelink-devsim --help'.\n",
                     commandLine.error.c_str());
        return 2;
    }
    if (commandLine.helpRequested) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (commandLine.versionRequested) {
        std::printf("kestrelink-devsim %.*s\n", static_cast<int>(kestrelink::kVersion.size()),
                    kestrelink::kVersion.data());
        return 0;
    }
    if (!commandLine.options.allowRealNetwork) {
        kestrelink::lab::RequirePrivateNetwork("kestrelink-devsim");
    }
    const StopSignals stop;
    DeviceSet devices(commandLine.options);
    Responder responder(commandLine.options, devices, stdout);
    return responder.Run(stop);
}
