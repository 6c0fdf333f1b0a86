#include "faces/qt/several_devices_dlg.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <set>

#include "behaviour/control_ids.h"
#include "behaviour/several_devices_dialog.h"
#include "behaviour/several_devices_opening.h"
#include "behaviour/several_devices_table.h"
#include "faces/qt/dialog_template.h"
#include "faces/qt/help_launcher.h"
#include "faces/qt/ip_address_edit.h"
#include "faces/qt/list_compare.h"
#include "faces/qt/list_export.h"
#include "faces/qt/template_controls.h"

namespace kestrelink {
namespace {

using namespace several_devices;

constexpr int kStatusColumn = static_cast<int>(SeveralColumn::Status);

QWidget* MakeControl(const ControlTemplate& control, QWidget* parent) {
    if (control.kind == QLatin1String("ipaddress")) {
        return new IpAddressEdit(parent);
    }
    if (control.kind == QLatin1String("edit")) {
        auto* edit = new QLineEdit(parent);
        if (control.HasStyle(QStringLiteral("ES_PASSWORD"))) {
            edit->setEchoMode(QLineEdit::Password);
        }
        return edit;
    }
    if (control.kind == QLatin1String("table")) {
        auto* table = new QTableWidget(0, static_cast<int>(kSeveralColumnCount), parent);
        QStringList headers;
        for (const std::string_view header : kSeveralColumnHeaders) {
            headers << FromUtf8(header);
        }
        table->setHorizontalHeaderLabels(headers);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setSelectionMode(QAbstractItemView::ExtendedSelection);
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->verticalHeader()->hide();
        table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
        // Wide enough for a MAC, an address and the usual names, without measuring every row.
        constexpr int kWidths[] = {150, 60, 100, 50, 90, 90, 90, 140};
        for (int column = 0; column < static_cast<int>(std::size(kWidths)); ++column) {
            table->setColumnWidth(column, kWidths[column]);
        }
        table->horizontalHeader()->setSortIndicatorShown(true);
        table->horizontalHeader()->setSectionsClickable(true);
        table->horizontalHeader()->setStretchLastSection(true);
        return table;
    }
    return nullptr;
}

QString FileFilter(SeveralFileKind kind) {
    return kind == SeveralFileKind::Plan ? QStringLiteral("Plans (*.csv);;All files (*)")
                                         : QStringLiteral("Records (*.csv);;All files (*)");
}

}  // namespace

CSeveralDevicesDlg::CSeveralDevicesDlg(SeveralDevicesOpening& opening, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint) {
    const QHash<int, QWidget*> controls =
        BuildFromTemplate(*this, LoadDialogTemplate(kTemplateId), MakeControl);
    m_startEdit = qobject_cast<IpAddressEdit*>(controls.value(kStartId));
    m_maskEdit = qobject_cast<IpAddressEdit*>(controls.value(kMaskId));
    m_gatewayEdit = qobject_cast<IpAddressEdit*>(controls.value(kGatewayId));
    m_dnsServerEdit = qobject_cast<IpAddressEdit*>(controls.value(kDnsServerId));
    m_stepEdit = qobject_cast<QLineEdit*>(controls.value(kStepId));
    m_namePatternEdit = qobject_cast<QLineEdit*>(controls.value(kNamePatternId));
    m_passwordEdit = qobject_cast<QLineEdit*>(controls.value(kPasswordId));
    m_useDhcpBox = qobject_cast<QCheckBox*>(controls.value(kUseDhcpId));
    m_table = qobject_cast<QTableWidget*>(controls.value(kTableId));
    m_summary = qobject_cast<QLabel*>(controls.value(kSummaryId));
    m_sendButton = qobject_cast<QPushButton*>(controls.value(kSendId));
    m_stopButton = qobject_cast<QPushButton*>(controls.value(kStopId));
    m_openPlanButton = qobject_cast<QPushButton*>(controls.value(kOpenPlanId));

    m_dialog = std::make_unique<SeveralDevicesDialog>(
        static_cast<SeveralDevicesFace&>(*this), m_boxes, opening.sender, opening.wait,
        std::move(opening.shown), std::move(opening.listed));
    SeveralDevicesDialog* dialog = m_dialog.get();

    const auto changed = [this, dialog] {
        if (!m_filling) {
            dialog->OnFieldsChanged();
        }
    };
    for (IpAddressEdit* edit : {m_startEdit, m_maskEdit, m_gatewayEdit, m_dnsServerEdit}) {
        for (QLineEdit* part : edit->findChildren<QLineEdit*>()) {
            connect(part, &QLineEdit::textChanged, this, changed);
        }
    }
    for (QLineEdit* edit : {m_stepEdit, m_namePatternEdit}) {
        connect(edit, &QLineEdit::textChanged, this, changed);
    }
    connect(m_useDhcpBox, &QCheckBox::clicked, this, [dialog] { dialog->OnUseDhcpClicked(); });
    connect(m_table, &QTableWidget::itemChanged, this, [this, dialog](QTableWidgetItem* item) {
        if (!m_filling && item->column() == 0) {
            dialog->OnChecked(static_cast<std::size_t>(item->row()),
                              item->checkState() == Qt::Checked);
        }
    });
    connect(m_table->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [dialog](int column) { dialog->OnHeaderClicked(static_cast<SeveralColumn>(column)); });
    auto* copy = new QAction(m_table);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    m_table->addAction(copy);
    connect(copy, &QAction::triggered, this, [this, dialog] {
        std::set<std::size_t> rows;
        for (const QModelIndex& index : m_table->selectionModel()->selectedRows()) {
            rows.insert(static_cast<std::size_t>(index.row()));
        }
        const std::vector<std::size_t> selected(rows.begin(), rows.end());
        dialog->OnCopy(selected);
    });
    connect(m_sendButton, &QPushButton::clicked, this, [dialog] { dialog->OnSend(); });
    connect(m_stopButton, &QPushButton::clicked, this, [dialog] { dialog->OnStop(); });
    connect(m_openPlanButton, &QPushButton::clicked, this, [dialog] { dialog->OnOpenPlan(); });
    connect(qobject_cast<QPushButton*>(controls.value(kSavePlanId)), &QPushButton::clicked, this,
            [dialog] { dialog->OnSavePlan(); });
    connect(qobject_cast<QPushButton*>(controls.value(kSaveRecordId)), &QPushButton::clicked, this,
            [dialog] { dialog->OnSaveRecord(); });
    connect(qobject_cast<QPushButton*>(controls.value(kCloseId)), &QPushButton::clicked, this,
            &CSeveralDevicesDlg::reject);
    InstallHelpKey(this, kTemplateId);
    ShowRunning(false);
    m_dialog->Attach();
}

CSeveralDevicesDlg::~CSeveralDevicesDlg() = default;

void CSeveralDevicesDlg::reject() {
    if (m_dialog->OnClose()) {
        QDialog::reject();
    }
}

IpAddressEdit* CSeveralDevicesDlg::AddressEdit(SeveralAddressField field) const {
    switch (field) {
        case SeveralAddressField::Start:
            return m_startEdit;
        case SeveralAddressField::Mask:
            return m_maskEdit;
        case SeveralAddressField::Gateway:
            return m_gatewayEdit;
        case SeveralAddressField::DnsServer:
            return m_dnsServerEdit;
    }
    return m_startEdit;
}

QLineEdit* CSeveralDevicesDlg::Edit(SeveralTextField field) const {
    switch (field) {
        case SeveralTextField::Step:
            return m_stepEdit;
        case SeveralTextField::NamePattern:
            return m_namePatternEdit;
        case SeveralTextField::Password:
            return m_passwordEdit;
    }
    return m_stepEdit;
}

std::optional<std::uint32_t> CSeveralDevicesDlg::Address(SeveralAddressField field) const {
    const IpAddressEdit* edit = AddressEdit(field);
    if (edit->IsBlank()) {
        return std::nullopt;
    }
    return edit->Address();
}

std::string CSeveralDevicesDlg::Text(SeveralTextField field) const {
    return Edit(field)->text().toStdString();
}

void CSeveralDevicesDlg::SetText(SeveralTextField field, std::string_view text) {
    Edit(field)->setText(FromUtf8(text));
}

bool CSeveralDevicesDlg::UseDhcp() const {
    return m_useDhcpBox->isChecked();
}

void CSeveralDevicesDlg::EnableAddresses(bool enabled) {
    for (IpAddressEdit* edit : {m_startEdit, m_maskEdit, m_gatewayEdit, m_dnsServerEdit}) {
        edit->setEnabled(enabled);
    }
    m_stepEdit->setEnabled(enabled);
}

void CSeveralDevicesDlg::FocusAddress(SeveralAddressField field) {
    AddressEdit(field)->setFocus(Qt::OtherFocusReason);
}

void CSeveralDevicesDlg::FocusText(SeveralTextField field) {
    Edit(field)->setFocus(Qt::OtherFocusReason);
    Edit(field)->selectAll();
}

void CSeveralDevicesDlg::ShowRows(const SeveralDevicesTable& table) {
    m_filling = true;
    const std::span<const SeveralRow> rows = table.Rows();
    m_table->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (std::size_t column = 0; column < kSeveralColumnCount; ++column) {
            const int at = static_cast<int>(row);
            QTableWidgetItem* item = m_table->item(at, static_cast<int>(column));
            if (item == nullptr) {
                item = new QTableWidgetItem;
                m_table->setItem(at, static_cast<int>(column), item);
            }
            item->setText(FromUtf8(table.Cell(row, static_cast<SeveralColumn>(column))));
            if (column == 0) {
                Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
                if (rows[row].found) {
                    flags |= Qt::ItemIsUserCheckable;
                }
                item->setFlags(flags);
                item->setCheckState(rows[row].checked ? Qt::Checked : Qt::Unchecked);
            }
        }
    }
    if (const std::optional<SeveralColumn> sorted = table.SortColumn()) {
        m_table->horizontalHeader()->setSortIndicator(
            static_cast<int>(*sorted),
            table.SortAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
    } else {
        m_table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    }
    m_filling = false;
}

void CSeveralDevicesDlg::ShowStatus(std::size_t row, std::string_view status) {
    QTableWidgetItem* item = m_table->item(static_cast<int>(row), kStatusColumn);
    if (item != nullptr) {
        m_filling = true;
        item->setText(FromUtf8(status));
        m_filling = false;
    }
}

void CSeveralDevicesDlg::ShowSummary(std::string_view summary) {
    m_summary->setText(FromUtf8(summary));
}

void CSeveralDevicesDlg::FocusTable() {
    m_table->setFocus(Qt::OtherFocusReason);
}

void CSeveralDevicesDlg::ShowRunning(bool running) {
    m_sendButton->setEnabled(!running);
    m_openPlanButton->setEnabled(!running);
    m_stopButton->setEnabled(running);
}

std::optional<std::string> CSeveralDevicesDlg::ChooseFileToOpen(SeveralFileKind kind) {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Open Plan"),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), FileFilter(kind));
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path.toStdString();
}

std::optional<std::string> CSeveralDevicesDlg::ChooseFileToSave(SeveralFileKind kind,
                                                                std::string_view suggestedName) {
    QFileDialog chooser(
        this,
        kind == SeveralFileKind::Plan ? QStringLiteral("Save Plan") : QStringLiteral("Save Record"),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QLatin1Char('/') +
            FromUtf8(suggestedName),
        FileFilter(kind));
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setDefaultSuffix(QStringLiteral("csv"));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return chooser.selectedFiles().first().toStdString();
}

FileContents CSeveralDevicesDlg::ReadFile(const std::string& path) {
    return ReadWholeFile(path);
}

std::optional<std::string> CSeveralDevicesDlg::ReplaceFile(const std::string& path,
                                                           std::string_view bytes) {
    return kestrelink::ReplaceFile(path, bytes);
}

void CSeveralDevicesDlg::SetClipboardText(std::string_view text) {
    QGuiApplication::clipboard()->setText(FromUtf8(text));
}

}  // namespace kestrelink
