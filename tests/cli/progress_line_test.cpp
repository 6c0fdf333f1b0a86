#include "cli/progress_line.h"

#include <gtest/gtest.h>

#include <sstream>

#include "provisioning/provisioning_run.h"

namespace kestrelink::cli {
namespace {

TEST(ProgressLineTest, RedrawnInPlaceAndBlankedOnATerminalOnly) {
    std::ostringstream terminal;
    ProgressLine line(terminal, true, 12);
    line.Show({12, 2, 10});
    line.Show({12, 2, 10});
    line.Show({12, 3, 9});  // one shorter: the last character is blanked
    line.Clear();
    EXPECT_EQ(terminal.str(),
              "\rsent 12 of 12, confirmed 2, pending 10"
              "\rsent 12 of 12, confirmed 3, pending 9 \b"
              "\r" +
                  std::string(37, ' ') + "\r");

    std::ostringstream log;
    ProgressLine none(log, false, 12);
    none.Show({1, 0, 1});
    none.Clear();
    EXPECT_EQ(log.str(), "");
}

}  // namespace
}  // namespace kestrelink::cli
