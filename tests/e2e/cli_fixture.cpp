#include "tests/e2e/cli_fixture.h"

#include <fstream>

namespace kestrelink::testing {
namespace {

// Above the longest wait any test gives the program, verification included.
constexpr std::chrono::seconds kCliRunLimit{30};

std::size_t CountLines(const std::vector<std::string>& lines, std::string_view text) {
    std::size_t count = 0;
    for (const std::string& line : lines) {
        count += line.find(text) != std::string::npos ? 1 : 0;
    }
    return count;
}

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
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::vector<std::string> CliTest::RequestsSeen() {
    // The simulator reads each port's datagrams in order, so once it reports these probes, every
    // request sent before them has been reported too.
    const auto lines = m_simulator->OutputLines();
    const std::size_t probes08 = CountLines(lines, "probe 08bits");
    const std::size_t probes32 = CountLines(lines, "probe 32bits");
    EXPECT_EQ(RunCli({"discover", "--wait", "0"}).status, 0);
    EXPECT_EQ(m_simulator->WaitForLines("probe 08bits", probes08 + 1, kE2eWait).size(),
              probes08 + 1);
    EXPECT_EQ(m_simulator->WaitForLines("probe 32bits", probes32 + 1, kE2eWait).size(),
              probes32 + 1);
    std::vector<std::string> requests;
    for (const std::string& line : m_simulator->OutputLines()) {
        if (line.starts_with("applied") || line.starts_with("refused")) {
            requests.push_back(line);
        }
    }
    return requests;
}

}  // namespace kestrelink::testing
