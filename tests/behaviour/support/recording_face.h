#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "behaviour/browser_starter.h"
#include "behaviour/dialog_face.h"
#include "behaviour/posted_calls.h"
#include "behaviour/window_face.h"
#include "net/datagrams.h"

namespace kestrelink::testing {

// A main window face, and its boxes, that note what the behaviour asked of them and answer as
// told. Boxes are noted as "warning|text", "retry|text", "question|text" and
// "notice <caption>|text".
class RecordingFace final : public WindowFace, public DialogFace {
public:
    std::vector<std::string> boxes;
    std::deque<bool> retryAnswers;  // none left: Cancel
    bool yesAnswer = false;
    // What the IP dialog returns, and the host names it opened with.
    std::optional<IpSettings> ipSettings;
    std::vector<std::string> ipDialogHostNames;
    std::optional<std::string> exportPath;  // nullopt: the user cancels
    std::optional<std::string> writeFailure;
    std::vector<std::pair<std::string, std::string>> writtenFiles;
    std::string clipboard = "before";
    std::vector<std::function<void()>> openNotices;  // their closed calls, oldest first
    std::vector<std::optional<CountLabel>> emptyRounds;
    std::optional<std::string> comparePath;                  // nullopt: the user cancels
    FileContents compareFile;                                // what reading comparePath gives
    std::optional<std::chrono::milliseconds> roundInterval;  // while rounds run
    int marksChanges = 0;
    // The MACs of the rows each "Configure Several Devices" dialog opened with.
    std::vector<std::vector<std::string>> severalDialogMacs;

    void ShowMessage(std::string_view text) override;
    bool AskRetry(std::string_view text) override;
    bool AskYesNo(std::string_view text) override;
    bool OpenHelpPage(int context) override;
    void Post(std::function<void()> call) override;
    // Kept with the posted calls, in the same order.
    void PostLater(std::chrono::milliseconds wait, std::function<void()> call) override;
    void OpenNotice(std::string_view caption, std::string_view text,
                    std::function<void()> closed) override;
    std::optional<IpSettings> AskIpSettings(std::string_view hostName) override;
    void RunSeveralDevices(SeveralDevicesOpening& opening) override;
    std::optional<std::string> ChooseExportFile(std::string_view suggestedName) override;
    std::optional<std::string> ReplaceFile(const std::string& path,
                                           std::string_view bytes) override;
    void SetClipboardText(std::string_view text) override;
    void ShowEmptyRound(std::optional<CountLabel> label) override;
    std::optional<std::string> ChooseListToCompare() override;
    FileContents ReadWholeFile(const std::string& path) override;
    void StartRounds(std::chrono::milliseconds interval, std::function<void()> round) override;
    void StopRounds() override;
    void MarksChanged() override;
    // The rounds' interval has passed: false when no rounds run.
    bool EndRound();

    bool HasPosted();
    // Runs the calls posted so far, and those they post in turn; false if there were none.
    bool RunPosted();
    // Runs the oldest call alone; false if none waits.
    bool RunOldestPosted();
    // The user dismisses the oldest open notice.
    void CloseNotice();

private:
    PostedCalls m_posted{[] { return true; }};
    std::function<void()> m_round;
};

// Notes each launch instead of making it: "program|address", or "default|address".
class RecordingBrowser final : public BrowserStarter {
public:
    std::vector<std::string> launches;

    void OpenWithDefaultHandler(std::string_view address) override {
        launches.push_back("default|" + std::string(address));
    }
    void StartNamedBrowser(std::string_view program, std::string_view address) override {
        launches.push_back(std::string(program) + "|" + std::string(address));
    }
};

}  // namespace kestrelink::testing
