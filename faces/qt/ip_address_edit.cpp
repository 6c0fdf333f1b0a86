#include "faces/qt/ip_address_edit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>

namespace kestrelink {
namespace {

constexpr int kOctetMax = 255;
constexpr int kOctetDigits = 3;

QString ClampedOctet(const QString& digits) {
    return digits.toInt() > kOctetMax ? QString::number(kOctetMax) : digits;
}

}  // namespace

IpAddressEdit::IpAddressEdit(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QHBoxLayout(this);
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    layout->setContentsMargins(frame, frame, frame, frame);
    layout->setSpacing(0);
    const QRegularExpression digits(QStringLiteral("[0-9]{0,3}"));
    for (int index = 0; index < kFieldCount; ++index) {
        if (index > 0) {
            auto* dot = new QLabel(QStringLiteral("."), this);
            dot->setForegroundRole(QPalette::Text);
            layout->addWidget(dot);
        }
        auto* field = new QLineEdit(this);
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setMaxLength(kOctetDigits);
        field->setValidator(new QRegularExpressionValidator(digits, field));
        // Reachable by click, never by Tab: the control as a whole is the tab stop.
        field->setFocusPolicy(Qt::ClickFocus);
        field->setAcceptDrops(false);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, index] { OnFieldEdited(index); });
        layout->addWidget(field, 1);
        m_fields[index] = field;
    }
}

IpAddressEdit::~IpAddressEdit() = default;

bool IpAddressEdit::IsBlank() const {
    return std::all_of(m_fields.begin(), m_fields.end(),
                       [](const QLineEdit* field) { return field->text().isEmpty(); });
}

std::uint32_t IpAddressEdit::Address() const {
    std::uint32_t address = 0;
    for (const QLineEdit* field : m_fields) {
        address = (address << 8) | static_cast<std::uint32_t>(field->text().toUInt());
    }
    return address;
}

void IpAddressEdit::SetAddress(std::uint32_t address) {
    for (int index = 0; index < kFieldCount; ++index) {
        const int shift = 8 * (kFieldCount - 1 - index);
        m_fields[index]->setText(QString::number((address >> shift) & 0xFFu));
    }
}

void IpAddressEdit::Clear() {
    for (QLineEdit* field : m_fields) {
        field->clear();
    }
}

bool IpAddressEdit::eventFilter(QObject* watched, QEvent* event) {
    const int index = FieldIndex(watched);
    if (index < 0) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::KeyPress:
            return HandleKey(index, *static_cast<QKeyEvent*>(event));
        case QEvent::ContextMenu:
            ShowContextMenu(index, static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        case QEvent::MouseButtonRelease:
            // The field's own middle-click paste of the X11 selection would keep three digits.
            if (static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton &&
                QGuiApplication::clipboard()->supportsSelection()) {
                PasteInto(index, QClipboard::Selection);
                return true;
            }
            break;
        case QEvent::FocusOut:
            if (m_enteredByAdvance == index) {
                m_enteredByAdvance = -1;
            }
            update();
            break;
        case QEvent::FocusIn:
            update();
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

// Tab in a field leaves the whole control. The walk starts from the control, not from the field:
// a window that reorders its tab stops moves the control but not its fields, which would leave
// them somewhere else in the focus chain.
bool IpAddressEdit::focusNextPrevChild(bool next) {
    const auto step = [next](QWidget* widget) {
        return next ? widget->nextInFocusChain() : widget->previousInFocusChain();
    };
    for (QWidget* candidate = step(this); candidate != this; candidate = step(candidate)) {
        if (!isAncestorOf(candidate) && (candidate->focusPolicy() & Qt::TabFocus) != 0 &&
            candidate->isEnabled() && candidate->isVisibleTo(window())) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

void IpAddressEdit::focusInEvent(QFocusEvent* event) {
    m_fields[0]->setFocus(event->reason());
}

void IpAddressEdit::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionFrame option;
    option.initFrom(this);
    option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    option.state |= QStyle::State_Sunken;
    if (std::any_of(m_fields.begin(), m_fields.end(),
                    [](const QLineEdit* field) { return field->hasFocus(); })) {
        option.state |= QStyle::State_HasFocus;
    }
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
}

int IpAddressEdit::FieldIndex(const QObject* object) const {
    const auto found = std::find(m_fields.begin(), m_fields.end(), object);
    return found == m_fields.end() ? -1 : static_cast<int>(found - m_fields.begin());
}

bool IpAddressEdit::HandleKey(int index, const QKeyEvent& event) {
    QLineEdit* field = m_fields[index];
    const bool enteredByAdvance = m_enteredByAdvance == index;
    m_enteredByAdvance = -1;
    if (event.matches(QKeySequence::Paste)) {
        PasteInto(index, QClipboard::Clipboard);
        return true;
    }
    if (event.text() == QLatin1String(".")) {
        if (!enteredByAdvance && !field->text().isEmpty() && index + 1 < kFieldCount) {
            EnterField(index + 1, Entry::SelectAll);
        }
        return true;
    }
    const bool noSelection = !field->hasSelectedText();
    const bool atStart = noSelection && field->cursorPosition() == 0;
    const bool atEnd = noSelection && field->cursorPosition() == field->text().size();
    const bool backOut = (event.key() == Qt::Key_Backspace && field->text().isEmpty()) ||
                         (event.key() == Qt::Key_Left && atStart);
    if (backOut && index > 0) {
        EnterField(index - 1, Entry::CaretAtEnd);
        return true;
    }
    if (event.key() == Qt::Key_Right && atEnd && index + 1 < kFieldCount) {
        EnterField(index + 1, Entry::CaretAtStart);
        return true;
    }
    return false;
}

void IpAddressEdit::OnFieldEdited(int index) {
    QLineEdit* field = m_fields[index];
    const QString clamped = ClampedOctet(field->text());
    if (clamped != field->text()) {
        field->setText(clamped);
    }
    if (index + 1 < kFieldCount && field->text().size() == kOctetDigits &&
        field->cursorPosition() == kOctetDigits) {
        EnterField(index + 1, Entry::SelectAll);
        m_enteredByAdvance = index + 1;
    }
}

void IpAddressEdit::EnterField(int index, Entry entry) {
    QLineEdit* field = m_fields[index];
    field->setFocus(Qt::OtherFocusReason);
    switch (entry) {
        case Entry::SelectAll:
            field->selectAll();
            break;
        case Entry::CaretAtStart:
            field->setCursorPosition(0);
            break;
        case Entry::CaretAtEnd:
            field->setCursorPosition(static_cast<int>(field->text().size()));
            break;
    }
}

// A dotted text replaces the whole address when it is one (four groups of one to three digits)
// and is refused otherwise; anything else goes into the field, which keeps only digits.
void IpAddressEdit::PasteInto(int index, QClipboard::Mode source) {
    const QString text = QGuiApplication::clipboard()->text(source).trimmed();
    if (!text.contains(QLatin1Char('.'))) {
        m_fields[index]->insert(text);
        return;
    }
    const QStringList parts = text.split(QLatin1Char('.'));
    static const QRegularExpression octet(QStringLiteral("^[0-9]{1,3}$"));
    const bool isAddress = parts.size() == kFieldCount &&
                           std::all_of(parts.begin(), parts.end(), [](const QString& part) {
                               return octet.match(part).hasMatch();
                           });
    if (!isAddress) {
        return;
    }
    for (int field = 0; field < kFieldCount; ++field) {
        m_fields[field]->setText(ClampedOctet(parts[field]));
    }
    EnterField(kFieldCount - 1, Entry::CaretAtEnd);
}

void IpAddressEdit::ShowContextMenu(int index, const QPoint& globalPosition) {
    QMenu* menu = m_fields[index]->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The field's own Paste would cut a whole address down to its first three characters. Qt
    // names none of the menu's actions, so Paste is known by the label the line edit gives it,
    // with or without the shortcut that may follow a tab.
    const QString pasteLabel = QLineEdit::tr("&Paste");
    for (QAction* action : menu->actions()) {
        if (action->text().section(QLatin1Char('\t'), 0, 0) == pasteLabel) {
            action->disconnect(m_fields[index]);
            connect(action, &QAction::triggered, this,
                    [this, index] { PasteInto(index, QClipboard::Clipboard); });
        }
    }
    menu->popup(globalPosition);
}

}  // namespace kestrelink
