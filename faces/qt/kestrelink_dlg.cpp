#include "faces/qt/kestrelink_dlg.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <span>
#include <string_view>

#include "behaviour/browser_detection.h"
#include "behaviour/browser_starter.h"
#include "behaviour/control_ids.h"
#include "behaviour/filter_placement.h"
#include "behaviour/main_window_behaviour.h"
#include "behaviour/registry_reader.h"
#include "behaviour/window_texts.h"
#include "faces/qt/device_list_menu.h"
#include "faces/qt/device_list_model.h"
#include "faces/qt/device_list_view.h"
#include "faces/qt/dialog_template.h"
#include "faces/qt/filter_edit.h"
#include "faces/qt/help_launcher.h"
#include "faces/qt/ip_config_dlg.h"
#include "faces/qt/list_compare.h"
#include "faces/qt/list_export.h"
#include "faces/qt/list_filter.h"
#include "faces/qt/several_devices_dlg.h"
#include "faces/qt/system_registry.h"
#include "faces/qt/template_controls.h"
#include "faces/qt/web_launcher.h"
#include "net/device_list.h"

namespace kestrelink {
namespace {

using namespace main_window;

QIcon AppIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        icon.addFile(QStringLiteral(":/images/kestrelink-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

ControlRect ToControlRect(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

QRect ToQRect(const ControlRect& rect) {
    return {rect.left, rect.top, rect.width, rect.height};
}

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
    const FilterPlaces places =
        FilterInForceIePlace(ToControlRect(rectOf(kForceIeId)), ToControlRect(rectOf(kFilterId)),
                             ToControlRect(rectOf(kDeviceCountId)));
    rectOf(kFilterId) = ToQRect(places.filter);
    rectOf(kDeviceCountId) = ToQRect(places.deviceCount);
    return layout;
}

}  // namespace

CKestrelinkDlg::CKestrelinkDlg(QWidget* parent)
    : CKestrelinkDlg(MakeDesktopBrowserStarter(), *MakeSystemRegistryReader(), parent) {}

CKestrelinkDlg::CKestrelinkDlg(std::unique_ptr<BrowserStarter> browserStarter,
                               const RegistryReader& registry, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      m_browserStarter(std::move(browserStarter)),
      m_model(new DeviceListModel(this)),
      m_behaviour(std::make_unique<MainWindowBehaviour>(static_cast<WindowFace&>(*this), m_boxes,
                                                        m_model->List(), *m_browserStarter)) {
    const bool forceIeShown = ShowForceIeOption(registry);
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
    setWindowTitle(FromUtf8(MainWindowTitle()));
    setWindowIcon(AppIcon());

    m_list = qobject_cast<DeviceListView*>(controls.value(kListId));
    m_webButton = qobject_cast<QAbstractButton*>(controls.value(kWebId));
    auto* forceIe = qobject_cast<QCheckBox*>(controls.value(kForceIeId));
    MainWindowBehaviour* behaviour = m_behaviour.get();
    connect(qobject_cast<QAbstractButton*>(controls.value(kDiscoverId)), &QAbstractButton::clicked,
            this, [behaviour] { behaviour->OnDiscover(); });
    connect(qobject_cast<QAbstractButton*>(controls.value(kConfigureIpId)),
            &QAbstractButton::clicked, this, [behaviour] { behaviour->OnConfigureIp(); });
    connect(m_webButton, &QAbstractButton::clicked, this, [behaviour] { behaviour->OnWeb(); });
    connect(qobject_cast<QAbstractButton*>(controls.value(kCloseId)), &QAbstractButton::clicked,
            this, &QDialog::accept);
    connect(forceIe, &QAbstractButton::clicked, this,
            [behaviour](bool checked) { behaviour->OnForceIeClicked(checked); });
    connect(m_list, &DeviceListView::listDoubleClicked, this, &CKestrelinkDlg::OnListDoubleClick);
    InstallHelpKey(this, kTemplateId);

    m_filter = new ListFilter(m_list, qobject_cast<QLineEdit*>(controls.value(kFilterId)),
                              qobject_cast<QLabel*>(controls.value(kDeviceCountId)));
    m_model->SetMarks(&m_behaviour->Marks());
    auto* menu = new DeviceListMenu(m_list, this);
    menu->SetItemStates(
        [behaviour](ListMenuAction action) { return behaviour->IsMenuItemChecked(action); },
        [behaviour](ListMenuAction action) { return behaviour->IsMenuItemAvailable(action); });
    connect(menu, &DeviceListMenu::itemChosen, this, [this](ListMenuAction action) {
        const QList<int> shown = m_filter->ShownRows();
        m_behaviour->OnListMenu(
            action, std::span(shown.constData(), static_cast<std::size_t>(shown.size())));
    });

    forceIe->setVisible(forceIeShown);
    forceIe->setChecked(m_behaviour->ForceIeOnly());

    if (m_behaviour->Start()) {
        m_list->setFocus();
    }
}

CKestrelinkDlg::~CKestrelinkDlg() {
    // Before the widgets go: the listener is stopped and no step of its runs any more.
    m_behaviour.reset();
    m_model->SetMarks(nullptr);
}

void CKestrelinkDlg::ApplyState(const WindowState& state) {
    if (state.size) {
        resize(state.size->width, state.size->height);
    }
    if (state.position) {
        move(state.position->x, state.position->y);
        m_placed = true;
    }
    if (state.maximized) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    for (std::size_t column = 0; column < state.columnWidths.size(); ++column) {
        m_list->header()->resizeSection(static_cast<int>(column), state.columnWidths[column]);
    }
    RestoreSort(m_model->List(), state.sort);
    m_behaviour->SetKeepWatching(state.keepWatching);
}

WindowState CKestrelinkDlg::State() const {
    WindowState state;
    // A maximised window's normal place is known only without its frame, which a maximised window
    // may not have; so it leaves size and place as they were.
    state.maximized = isMaximized();
    if (!state.maximized) {
        state.size = WindowSize{width(), height()};
        state.position = WindowPoint{pos().x(), pos().y()};
    }
    for (int column = 0; column < kColumnCount; ++column) {
        state.columnWidths.push_back(m_list->header()->sectionSize(column));
    }
    state.sort = m_model->List().Sort();
    state.keepWatching = m_behaviour->KeepWatching();
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

void CKestrelinkDlg::OnListDoubleClick() {
    if (!m_behaviour->ShouldDoubleClickOpenWeb() || m_webButton == nullptr) {
        return;
    }
    // Queued, so that the Web action runs after the double-click has been handled, as a press
    // of the button would.
    QMetaObject::invokeMethod(m_webButton, &QAbstractButton::click, Qt::QueuedConnection);
}

void CKestrelinkDlg::Post(std::function<void()> call) {
    // Qt drops a call queued to an object that goes before it runs.
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

void CKestrelinkDlg::PostLater(std::chrono::milliseconds wait, std::function<void()> call) {
    // A timer even for no wait, not QTimer::singleShot(0), which Qt makes a queued call: once a
    // timer has fired, Qt runs timers only when no queued call is waiting.
    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [timer, call = std::move(call)] {
        timer->deleteLater();
        call();
    });
    timer->start(wait);
}

void CKestrelinkDlg::OpenNotice(std::string_view caption, std::string_view text,
                                std::function<void()> closed) {
    auto* box = new QMessageBox(QMessageBox::NoIcon, FromUtf8(caption), FromUtf8(text),
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QDialog::finished, box, [closed = std::move(closed)] { closed(); });
    box->open();
}

std::optional<IpSettings> CKestrelinkDlg::AskIpSettings(std::string_view hostName) {
    CIpConfigDlg dialog(this);
    dialog.SetHostName(FromUtf8(hostName));
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Settings();
}

void CKestrelinkDlg::RunSeveralDevices(SeveralDevicesOpening& opening) {
    CSeveralDevicesDlg dialog(opening, this);
    dialog.exec();
}

std::optional<std::string> CKestrelinkDlg::ChooseExportFile(std::string_view suggestedName) {
    const QString path = kestrelink::ChooseExportFile(this, FromUtf8(suggestedName));
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path.toStdString();
}

std::optional<std::string> CKestrelinkDlg::ReplaceFile(const std::string& path,
                                                       std::string_view bytes) {
    return kestrelink::ReplaceFile(path, bytes);
}

void CKestrelinkDlg::ShowEmptyRound(std::optional<CountLabel> label) {
    if (m_filter != nullptr) {
        m_filter->SetEmptyRound(std::move(label));
    }
}

void CKestrelinkDlg::SetClipboardText(std::string_view text) {
    QGuiApplication::clipboard()->setText(FromUtf8(text));
}

std::optional<std::string> CKestrelinkDlg::ChooseListToCompare() {
    const QString path = kestrelink::ChooseListToCompare(this);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path.toStdString();
}

FileContents CKestrelinkDlg::ReadWholeFile(const std::string& path) {
    return kestrelink::ReadWholeFile(path);
}

void CKestrelinkDlg::StartRounds(std::chrono::milliseconds interval, std::function<void()> round) {
    m_rounds.disconnect();
    connect(&m_rounds, &QTimer::timeout, this, std::move(round));
    m_rounds.start(interval);
}

void CKestrelinkDlg::StopRounds() {
    m_rounds.stop();
    m_rounds.disconnect();
}

void CKestrelinkDlg::MarksChanged() {
    m_list->MarksChanged();
}

}  // namespace kestrelink
