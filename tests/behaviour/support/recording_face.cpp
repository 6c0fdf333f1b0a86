#include "tests/behaviour/support/recording_face.h"

#include "behaviour/several_devices_opening.h"

namespace kestrelink::testing {

void RecordingFace::ShowMessage(std::string_view text) {
    boxes.push_back("warning|" + std::string(text));
}

bool RecordingFace::AskRetry(std::string_view text) {
    boxes.push_back("retry|" + std::string(text));
    if (retryAnswers.empty()) {
        return false;
    }
    const bool retry = retryAnswers.front();
    retryAnswers.pop_front();
    return retry;
}

bool RecordingFace::AskYesNo(std::string_view text) {
    boxes.push_back("question|" + std::string(text));
    return yesAnswer;
}

bool RecordingFace::OpenHelpPage(int) {
    return false;
}

void RecordingFace::Post(std::function<void()> call) {
    m_posted.Post(std::move(call));
}

void RecordingFace::PostLater(std::chrono::milliseconds, std::function<void()> call) {
    Post(std::move(call));
}

void RecordingFace::OpenNotice(std::string_view caption, std::string_view text,
                               std::function<void()> closed) {
    boxes.push_back("notice " + std::string(caption) + "|" + std::string(text));
    openNotices.push_back(std::move(closed));
}

std::optional<IpSettings> RecordingFace::AskIpSettings(std::string_view hostName) {
    ipDialogHostNames.emplace_back(hostName);
    return ipSettings;
}

void RecordingFace::RunSeveralDevices(SeveralDevicesOpening& opening) {
    std::vector<std::string> macs;
    for (const SeveralDevice& device : opening.shown) {
        macs.push_back(device.mac);
    }
    severalDialogMacs.push_back(std::move(macs));
}

std::optional<std::string> RecordingFace::ChooseExportFile(std::string_view) {
    return exportPath;
}

std::optional<std::string> RecordingFace::ChooseListToCompare() {
    return comparePath;
}

FileContents RecordingFace::ReadWholeFile(const std::string&) {
    return compareFile;
}

void RecordingFace::StartRounds(std::chrono::milliseconds interval, std::function<void()> round) {
    roundInterval = interval;
    m_round = std::move(round);
}

void RecordingFace::StopRounds() {
    roundInterval.reset();
    m_round = nullptr;
}

void RecordingFace::MarksChanged() {
    ++marksChanges;
}

bool RecordingFace::EndRound() {
    if (!m_round) {
        return false;
    }
    m_round();
    return true;
}

std::optional<std::string> RecordingFace::ReplaceFile(const std::string& path,
                                                      std::string_view bytes) {
    if (writeFailure) {
        return writeFailure;
    }
    writtenFiles.emplace_back(path, bytes);
    return std::nullopt;
}

void RecordingFace::ShowEmptyRound(std::optional<CountLabel> label) {
    emptyRounds.push_back(std::move(label));
}

void RecordingFace::SetClipboardText(std::string_view text) {
    clipboard = text;
}

bool RecordingFace::HasPosted() {
    return !m_posted.Empty();
}

bool RecordingFace::RunPosted() {
    bool ran = false;
    while (m_posted.RunOldest()) {
        ran = true;
    }
    return ran;
}

bool RecordingFace::RunOldestPosted() {
    return m_posted.RunOldest();
}

void RecordingFace::CloseNotice() {
    const std::function<void()> closed = openNotices.front();
    openNotices.erase(openNotices.begin());
    closed();
}

}  // namespace kestrelink::testing
