#include "ui/kestrelink_dlg.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QScreen>
#include <algorithm>
#include <string_view>

#include "kestrelink/version.h"
#include "net/config_sender.h"
#include "net/device_list.h"
#include "net/endpoint.h"
#include "net/short_text.h"
#include "ui/app_message_box.h"
#include "ui/browser_detection.h"
#include "ui/control_ids.h"
#include "ui/device_list_menu.h"
#include "ui/device_list_model.h"
#include "ui/device_list_view.h"
#include "ui/dialog_template.h"
#include "ui/filter_edit.h"
#include "ui/help_launcher.h"
#include "ui/ip_config_dlg.h"
#include "ui/list_export.h"
#include "ui/list_filter.h"
#include "ui/template_controls.h"
#include "ui/ui_hand_over.h"
#include "ui/web_launcher.h"
#include "ui/window_state.h"

namespace kestrelink {
namespace {

using namespace main_window;

constexpr auto kNothingSelected = "Select current IP address of device to config.";
constexpr auto kChangesSent = "Changes sent.  Press Discover button in a short time to refresh.";
constexpr auto kSendFailed =
    "Failed to send the changes. Check the network connection and try again.";
constexpr auto kPortNotOpen =
    "Nothing was sent: the program's UDP port could not be opened at start-up.\n"
    "Check if another copy of the application is running.";

QIcon AppIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        icon.addFile(QStringLiteral(":/images/kestrelink-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

QString FromSingleByte(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The layout, with the filter and its count moved into the place of the "Force IE only" check box
// when that is not shown, so that the bottom row starts at the left edge.
DialogTemplate MainWindowLayout(bool forceIeShown) {
    DialogTemplate layout = LoadDialogTemplate(kTemplateId);
    if (forceIeShown) {
        return layout;
    }
    const auto rectOf = [&layout](int id) -> QRect& {
        return std::find_if(layout.controls.begin(), layout.controls.end(),
                            [id](const ControlTemplate& control) { return control.id == id; })
            ->rect;
    };
    const int shift = rectOf(kFilterId).left() - rectOf(kForceIeId).left();
    rectOf(kFilterId).translate(-shift, 0);
    rectOf(kDeviceCountId).translate(-shift, 0);
    return layout;
}

}  // namespace

CKestrelinkDlg::CKestrelinkDlg(QWidget* parent)
    : CKestrelinkDlg(MakeDesktopBrowserStarter(), parent) {}

CKestrelinkDlg::CKestrelinkDlg(std::unique_ptr<BrowserStarter> browserStarter, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      m_browserStarter(std::move(browserStarter)),
      m_model(new DeviceListModel(this)) {
    const bool forceIeShown = ShowForceIeOption();
    const QHash<int, QWidget*> controls =
        BuildFromTemplate(*this, MainWindowLayout(forceIeShown),
                          [this](const ControlTemplate& control, QWidget* parent) -> QWidget* {
                              if (control.kind == QLatin1String("listview")) {
                                  return new DeviceListView(m_model, parent);
                              }
                              if (control.kind == QLatin1String("edit")) {
                                  return new FilterEdit(parent);
                              }
                              return nullptr;
                          });
    setWindowTitle(QStringLiteral("Kestrelink ") + FromSingleByte(kVersion));
    setWindowIcon(AppIcon());

    m_list = qobject_cast<DeviceListView*>(controls.value(kListId));
    m_webButton = qobject_cast<QAbstractButton*>(controls.value(kWebId));
    auto* forceIe = qobject_cast<QCheckBox*>(controls.value(kForceIeId));
    connect(qobject_cast<QAbstractButton*>(controls.value(kDiscoverId)), &QAbstractButton::clicked,
            this, &CKestrelinkDlg::OnDiscover);
    connect(qobject_cast<QAbstractButton*>(controls.value(kConfigureIpId)),
            &QAbstractButton::clicked, this, &CKestrelinkDlg::OnConfigureIp);
    connect(m_webButton, &QAbstractButton::clicked, this, &CKestrelinkDlg::OnWeb);
    connect(qobject_cast<QAbstractButton*>(controls.value(kCloseId)), &QAbstractButton::clicked,
            this, &QDialog::accept);
    connect(forceIe, &QAbstractButton::clicked, this, &CKestrelinkDlg::OnForceIeClicked);
    connect(m_list, &DeviceListView::listDoubleClicked, this, &CKestrelinkDlg::OnListDoubleClick);
    InstallHelpKey(this, kTemplateId);

    m_filter = new ListFilter(m_list, qobject_cast<QLineEdit*>(controls.value(kFilterId)),
                              qobject_cast<QLabel*>(controls.value(kDeviceCountId)));
    auto* menu = new DeviceListMenu(m_list, this);
    connect(menu, &DeviceListMenu::configureIpRequested, this, &CKestrelinkDlg::OnConfigureIp);
    connect(menu, &DeviceListMenu::webPageRequested, this, &CKestrelinkDlg::OnWeb);
    connect(menu, &DeviceListMenu::exportRequested, this, &CKestrelinkDlg::OnExportList);

    forceIe->setVisible(forceIeShown);
    forceIe->setChecked(m_forceIeOnly);

    m_handOver = std::make_shared<UiHandOver>(m_model, this);
    m_endpoint = std::make_unique<Endpoint>(m_handOver, [this](std::string_view message) {
        ShowAppMessage(this, FromSingleByte(message));
    });
    if (m_endpoint->OpenEndpoint()) {
        m_list->setFocus();
    }
}

CKestrelinkDlg::~CKestrelinkDlg() {
    // A listener waiting in a hand-over must not hold up its own stop.
    m_handOver->Cancel();
    m_endpoint->CloseEndpoint();
}

void CKestrelinkDlg::ApplyState(const WindowState& state) {
    if (state.size.isValid()) {
        resize(state.size);
    }
    if (state.position) {
        move(*state.position);
        m_placed = true;
    }
    if (state.maximized) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    for (int column = 0; column < state.columnWidths.size(); ++column) {
        m_list->header()->resizeSection(column, state.columnWidths[column]);
    }
    // The clicks that lead to the sort, so that the list's own rules set order and arrow.
    DeviceList& list = m_model->List();
    if (state.sort.sortColumn != -1) {
        list.OnHeaderClick(state.sort.sortColumn);
        if (!state.sort.ascending) {
            list.OnHeaderClick(state.sort.sortColumn);
        }
    }
}

WindowState CKestrelinkDlg::State() const {
    WindowState state;
    // A maximised window's normal place is known only without its frame, which a maximised window
    // may not have; so it leaves size and place as they were.
    state.maximized = isMaximized();
    if (!state.maximized) {
        state.size = size();
        state.position = pos();
    }
    for (int column = 0; column < kColumnCount; ++column) {
        state.columnWidths << m_list->header()->sectionSize(column);
    }
    state.sort = m_model->List().Sort();
    return state;
}

void CKestrelinkDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_placed) {
        return;
    }
    // Once the window exists its frame is known, so the whole window, frame included, goes to
    // the centre of the primary screen's work area before it appears.
    m_placed = true;
    QRect frame = frameGeometry();
    frame.moveCenter(QGuiApplication::primaryScreen()->availableGeometry().center());
    move(frame.topLeft());
}

void CKestrelinkDlg::OnDiscover() {
    m_endpoint->ClearProbesSent();
    m_model->List().DeleteAllRows();
    m_endpoint->SendProbes();
}

void CKestrelinkDlg::OnConfigureIp() {
    const DeviceList& list = m_model->List();
    const int row = list.SelectedRow();
    if (row == -1) {
        ShowAppMessage(this, QString::fromLatin1(kNothingSelected));
        return;
    }
    // Read before the dialog opens: rows may move or go while it is up.
    const NetworkInterface* heardOn = list.HeardOn(row);
    const ConfigTarget target{list.CellText(row, kColumnMac), list.CellText(row, kColumnArch),
                              heardOn != nullptr ? heardOn->name : std::string()};
    const ShortText hostName(list.CellText(row, kColumnGivenName));

    CIpConfigDlg dialog(this);
    dialog.SetHostName(FromSingleByte(hostName.View()));
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    if (!m_endpoint->IsOpen()) {
        // Sending again cannot open the port, so this box offers no Retry.
        ShowAppMessage(this, QString::fromLatin1(kPortNotOpen));
        return;
    }
    // Retry sends the very request again, so the user does not fill in the dialog twice.
    while (!SendConfigRequest(*m_endpoint, target, dialog.Settings())) {
        if (!AskAppRetry(this, QString::fromLatin1(kSendFailed))) {
            return;
        }
    }
    ShowAppMessage(this, QString::fromLatin1(kChangesSent));
}

void CKestrelinkDlg::OnWeb() {
    OpenDeviceWebPage(this, m_model->List(), m_forceIeOnly, *m_browserStarter);
}

void CKestrelinkDlg::OnListDoubleClick() {
    if (m_model->List().SelectedRow() == -1 || m_webButton == nullptr) {
        return;
    }
    // Queued, so that the Web action runs after the double-click has been handled, as a press
    // of the button would.
    QMetaObject::invokeMethod(m_webButton, &QAbstractButton::click, Qt::QueuedConnection);
}

void CKestrelinkDlg::OnForceIeClicked(bool checked) {
    m_forceIeOnly = checked;
}

void CKestrelinkDlg::OnExportList() {
    ExportDeviceList(this, m_model->List(), m_filter->ShownRows());
}

}  // namespace kestrelink
