#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "behaviour/empty_round.h"
#include "behaviour/file_contents.h"
#include "behaviour/ui_thread.h"

namespace kestrelink {

struct IpSettings;
struct SeveralDevicesOpening;

// A box that does not wait for the user. Used for what devices say unasked, which must neither
// halt the listener nor pile up: see WindowHandOver.
class NoticeBoxes {
public:
    NoticeBoxes() = default;
    virtual ~NoticeBoxes() = default;
    NoticeBoxes(const NoticeBoxes&) = delete;
    NoticeBoxes& operator=(const NoticeBoxes&) = delete;

    // Opens a box modal over the main window, with OK, no icon and this caption, and returns at
    // once. closed runs on the user-interface thread when the user dismisses the box; a face
    // whose window goes first may drop it unrun.
    virtual void OpenNotice(std::string_view caption, std::string_view text,
                            std::function<void()> closed) = 0;
};

// What the main window's face does for MainWindowBehaviour: everything that needs a toolkit but
// the boxes, which it hands over as a DialogFace of their own. The face draws the list from the
// DeviceList it is given, keeps that list's selection in step with its own, and forwards the
// buttons, the list's double-click and the menu's items to MainWindowBehaviour.
class WindowFace : public UiThread, public NoticeBoxes {
public:
    // The IP configuration dialog, run modally over the main window with hostName (UTF-8) in
    // its host name field; the dialog's Send and Use DHCP go through an IpConfigForm of its own.
    // The settings when the user sent them and the checks passed; nullopt for Cancel.
    virtual std::optional<IpSettings> AskIpSettings(std::string_view hostName) = 0;

    // The "Configure Several Devices" dialog, run modally over the main window; its rules are a
    // SeveralDevicesDialog of its own, made from opening.
    virtual void RunSeveralDevices(SeveralDevicesOpening& opening) = 0;

    // The save dialog of Export List, titled "Export List", offering CSV files, the ".csv"
    // suffix and suggestedName in the user's documents folder. The path as the user should see
    // it in a message, or nullopt when the user cancelled.
    virtual std::optional<std::string> ChooseExportFile(std::string_view suggestedName) = 0;
    // Replaces the file at path with bytes, whole or not at all: written to a temporary name
    // beside it and moved over it, so that a failure leaves an earlier file as it was. Nullopt on
    // success; otherwise why it failed, in the system's words.
    virtual std::optional<std::string> ReplaceFile(const std::string& path,
                                                   std::string_view bytes) = 0;

    // Puts text on the clipboard as the system's Unicode text.
    virtual void SetClipboardText(std::string_view text) = 0;

    // The label that the count beside the filter shows, through DeviceCountLabel, for as long as
    // the list stays empty; nothing once a new round begins.
    virtual void ShowEmptyRound(std::optional<CountLabel> label) = 0;

    // The open dialog of Compare With List, titled "Compare With List", offering CSV files. The
    // path as the user should see it in a message, or nullopt when the user cancelled.
    virtual std::optional<std::string> ChooseListToCompare() = 0;
    // The whole file at path, or why it could not be read, in the system's words.
    virtual FileContents ReadWholeFile(const std::string& path) = 0;

    // Calls round on the user-interface thread every interval until StopRounds (Qt: a timer of
    // its own; Win32: a window timer of its own, apart from PostLater's, which a slice resets).
    virtual void StartRounds(std::chrono::milliseconds interval, std::function<void()> round) = 0;
    virtual void StopRounds() = 0;
    // The marks on the list's rows, or the devices shown below them, may have changed: they and
    // the count are drawn anew.
    virtual void MarksChanged() = 0;
};

}  // namespace kestrelink
