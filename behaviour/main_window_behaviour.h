#pragma once

#include <memory>
#include <span>

#include "behaviour/list_marks.h"

namespace kestrelink {

class BrowserStarter;
class DiscoverRound;
class DeviceList;
class DialogFace;
class Endpoint;
class SeveralDevicesSightings;
class WindowFace;
class WindowHandOver;
enum class ListMenuAction;

// What the main window does, whichever toolkit draws it: Discover, Cfg IP, Web, Force IE only,
// Export List, the copies, the comparison with an earlier list and the watch. It owns the endpoint
// with its listener and the hand-over between them; the face owns the drawing and the list it
// draws, and forwards its events here.
class MainWindowBehaviour final {
public:
    // face, boxes (the main window's), list and browser must outlive this object.
    MainWindowBehaviour(WindowFace& face, DialogFace& boxes, DeviceList& list,
                        BrowserStarter& browser);
    // Releases a listener waiting in a hand-over, then stops it and closes the endpoint.
    ~MainWindowBehaviour();
    MainWindowBehaviour(const MainWindowBehaviour&) = delete;
    MainWindowBehaviour& operator=(const MainWindowBehaviour&) = delete;

    // The last step of building the window, once the list is ready for the first announcement:
    // opens the endpoint and starts the listener. False after a failure the user has been shown.
    bool Start();

    void OnDiscover();
    void OnConfigureIp();
    void OnWeb();
    void OnForceIeClicked(bool checked);
    bool ForceIeOnly() const { return m_forceIeOnly; }
    // A double-click acts as Web only on a selected row; true when the face should go on and
    // press Web (after the click has been handled, as a press of the button would be).
    bool ShouldDoubleClickOpenWeb() const;
    // shownRows: the list's positions that the filter leaves shown, top to bottom.
    void OnExportList(std::span<const int> shownRows);
    // The menu's copies and Ctrl+C: the selected row's cells in columns, joined by tabs.
    void OnCopy(std::span<const int> columns);
    // Configure Several: the dialog with the rows shown, as for OnExportList.
    void OnConfigureSeveral(std::span<const int> shownRows);
    // An item of the list's context menu (kListMenu); shownRows as for OnExportList.
    void OnListMenu(ListMenuAction action, std::span<const int> shownRows);
    // Whether a check item of the menu is ticked, and whether an item can be chosen at all
    // (those that need a row aside, which the face knows).
    bool IsMenuItemChecked(ListMenuAction action) const;
    bool IsMenuItemAvailable(ListMenuAction action) const;

    void OnCompareWithList();
    void OnClearComparison();
    // Keep Watching ticked or not; also how the window's stored state turns it on at start-up.
    void SetKeepWatching(bool watch);
    bool KeepWatching() const { return m_marks.Watch().Watching(); }
    // What the faces draw on the rows and below them.
    const ListMarks& Marks() const { return m_marks; }

private:
    void OnRound();
    void ProbeAgain();

    WindowFace& m_face;
    DialogFace& m_boxes;
    DeviceList& m_list;
    BrowserStarter& m_browser;
    ListMarks m_marks;
    std::shared_ptr<WindowHandOver> m_handOver;
    std::shared_ptr<SeveralDevicesSightings> m_sightings;
    std::unique_ptr<Endpoint> m_endpoint;
    std::unique_ptr<DiscoverRound> m_round;
    bool m_forceIeOnly = false;

    void BeginRound();
    void OnRoundEnded();
};

}  // namespace kestrelink
