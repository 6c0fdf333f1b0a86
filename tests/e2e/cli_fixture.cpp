#include "tests/e2e/cli_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "net/datagrams.h"
#include "net/protocol.h"
#include "tests/support/loopback_peer.h"

namespace kestrelink::testing {
namespace {

// Above the longest wait any test gives the program, verification included.
constexpr std::chrono::seconds kCliRunLimit{30};

// A folder of this process's own: the suite of another checkout may run beside this one and
// write plan files of the same names into the shared temporary folder.
class RunFolder final {
public:
    RunFolder() {
        std::string pattern = ::testing::TempDir() + "kestrelink-e2e-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    ~RunFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    // Empty when no folder could be made.
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

}  // namespace

CliRun CliTest::RunCli(const std::vector<std::string>& arguments) {
    ChildProcess cli(KESTRELINK_CLI_PATH, arguments);
    CliRun run;
    if (const auto status = cli.WaitForExit(kCliRunLimit)) {
        run.status = *status;
    }
    run.output = cli.OutputLines();
    run.errorText = cli.ErrorText();
    return run;
}

std::string CliTest::WriteFile(const std::string& name, const std::string& text) {
    static const RunFolder folder;
    if (folder.Path().empty()) {
        ADD_FAILURE() << "no temporary folder for " << name;
    }
    const std::string path = folder.Path() + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::vector<std::string> CliTest::RequestsSeen() {
    // The simulator reads each port's datagrams in order, so once it reports these probes, every
    // request sent before them has been reported too. They come from a port of their own: the
    // report of a probe the program sent may itself still be on its way.
    LoopbackPeer prober;
    const std::string from = "from 127.0.0.1:" + std::to_string(prober.Port());
    const Probe08 probe08 = BuildProbe08();
    const Probe32 probe32 = BuildProbe32();
    EXPECT_TRUE(prober.SendTo(probe08, DEVICE_PORT_08));
    EXPECT_TRUE(prober.SendTo(probe32, DEVICE_PORT_32));
    EXPECT_TRUE(m_simulator->WaitForLine("probe 08bits " + from, kE2eWait));
    EXPECT_TRUE(m_simulator->WaitForLine("probe 32bits " + from, kE2eWait));
    std::vector<std::string> requests;
    for (const std::string& line : m_simulator->OutputLines()) {
        if (line.starts_with("applied") || line.starts_with("refused")) {
            requests.push_back(line);
        }
    }
    return requests;
}

}  // namespace kestrelink::testing
