#include <cstdio>

#include "tools/devsim/device_set.h"
#include "tools/devsim/options.h"
#include "tools/devsim/responder.h"
#include "tools/devsim/stop_signal.h"
#include "tools/lab/private_network.h"

int main(int argc, char** argv) {
    using namespace kestrelink::devsim;
    const CommandLine commandLine = ParseCommandLine(argc, argv);
    if (!commandLine.error.empty()) {
        std::fprintf(stderr, "kestrelink-devsim: %s\nTry 'kestrelink-devsim --help'.\n",
                     commandLine.error.c_str());
        return 2;
    }
    if (!commandLine.output.empty()) {
        std::fputs(commandLine.output.c_str(), stdout);
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
