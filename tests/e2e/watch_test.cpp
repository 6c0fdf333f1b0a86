#include <string>
#include <vector>

#include "net/device_list.h"
#include "tests/e2e/simulator_fixture.h"

namespace kestrelink::testing {
namespace {

// Numbers 0 to 3 are 32bits devices 02:6b:6c:00:10:00 to :03 at 10.213.1.1 to .4.
constexpr SimulatedDevices kFirstThree{0, 3};
constexpr SimulatedDevices kFirstTwo{0, 2};
constexpr SimulatedDevices kAllFour{0, 4};
constexpr int kStopped = 2;
constexpr int kMoved = 0;
constexpr int kInStep = 1;  // answers every round: the simulator's pace is read through it

class WatchTest : public SimulatorTest {
protected:
    RowMark MarkOfDevice(const SimulatedDevices& devices, int number) {
        const std::string mac = devices.ExpectedRow(number)[kColumnMac];
        for (int row = 0; row < m_list.RowCount(); ++row) {
            if (m_list.CellText(row, kColumnMac) == mac) {
                return m_window->Marks().MarkOf(m_list, row);
            }
        }
        ADD_FAILURE() << mac << " is not listed";
        return RowMark::None;
    }
    // One round over: the next probes go out, and what they bring is taken in.
    void NextRound(const SimulatedDevices& devices) {
        ASSERT_TRUE(m_face.EndRound()) << "no rounds run";
        ASSERT_NO_FATAL_FAILURE(SyncWithSimulator(devices, kInStep));
    }
};

TEST_F(WatchTest, StoppedDeviceGreysReturningOneClearsAndMovedOneIsMarkedChanged) {
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kFirstThree, {"--set-response"}));
    ASSERT_NO_FATAL_FAILURE(OpenWindow());
    ASSERT_TRUE(WaitForRowCount(3));
    const DeviceRow moved = kFirstThree.ExpectedRow(kMoved);
    // The last visit found the same three devices.
    std::string visit = "ip,mac,product,name,version,serial,family\n";
    for (const DeviceRow& device : kFirstThree.ExpectedRows()) {
        visit += device[kColumnIp] + "," + device[kColumnMac] + ",x," + device[kColumnGivenName] +
                 "," + device[kColumnVersion] + ",1,32bits\n";
    }
    m_face.comparePath = "visit.csv";
    m_face.compareFile.bytes = visit;
    m_window->OnCompareWithList();
    ASSERT_TRUE(m_face.boxes.empty()) << m_face.boxes.front();

    // The third device stops answering.
    m_simulator.reset();
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kFirstTwo, {"--set-response"}));
    m_window->SetKeepWatching(true);
    ASSERT_NO_FATAL_FAILURE(SyncWithSimulator(kFirstTwo, kInStep));
    for (int round = 1; round <= 2; ++round) {
        ASSERT_NO_FATAL_FAILURE(NextRound(kFirstTwo));
        EXPECT_EQ(MarkOfDevice(kFirstThree, kStopped), RowMark::None) << "round " << round;
    }
    ASSERT_NO_FATAL_FAILURE(NextRound(kFirstTwo));
    EXPECT_EQ(MarkOfDevice(kFirstThree, kStopped), RowMark::Quiet);
    EXPECT_EQ(MarkOfDevice(kFirstThree, kInStep), RowMark::None);
    EXPECT_EQ(m_list.RowCount(), 3);

    // It answers again, and a fourth device comes.
    m_simulator.reset();
    ASSERT_NO_FATAL_FAILURE(StartSimulator(kAllFour, {"--set-response"}));
    ASSERT_NO_FATAL_FAILURE(NextRound(kAllFour));
    ASSERT_TRUE(WaitForRowCount(4)) << ::testing::PrintToString(Rows());
    EXPECT_EQ(MarkOfDevice(kAllFour, kStopped), RowMark::None);
    EXPECT_EQ(MarkOfDevice(kAllFour, 3), RowMark::New);

    // The first device is given a new address: it is listed there, marked with what it was.
    ASSERT_NO_FATAL_FAILURE(
        ConfigureIp(moved[kColumnMac], StaticSettings(0x0AD50732, moved[kColumnGivenName])));
    ASSERT_TRUE(m_simulator->WaitForLine("applied", kE2eWait));
    ASSERT_NO_FATAL_FAILURE(NextRound(kAllFour));
    ASSERT_TRUE(WaitUntil([](const DeviceList& list) { return list.HasRowWithIp("10.213.7.50"); }))
        << ::testing::PrintToString(Rows());
    EXPECT_EQ(MarkOfDevice(kAllFour, kMoved), RowMark::Changed);
    EXPECT_EQ(m_window->Marks().TipOf(m_list, 0), "was " + moved[kColumnIp] + ", name \"" +
                                                      moved[kColumnGivenName] + "\", version " +
                                                      moved[kColumnVersion]);
    EXPECT_EQ(m_list.RowCount(), 4);
}

}  // namespace
}  // namespace kestrelink::testing
