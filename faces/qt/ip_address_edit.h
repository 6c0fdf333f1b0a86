#pragma once

#include <QClipboard>
#include <QWidget>
#include <array>
#include <cstdint>

class QKeyEvent;
class QLineEdit;

namespace kestrelink {

// An IPv4 address typed as four fields of 0 to 255. A dot, or a field's third digit, moves on to
// the next field; Backspace in an empty field moves back; a dotted address pasted by any route
// (keys, context menu, middle click) fills all four fields. The whole control is one stop in its
// window's tab order.
class IpAddressEdit final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(IpAddressEdit)

public:
    explicit IpAddressEdit(QWidget* parent = nullptr);
    ~IpAddressEdit() override;

    // All four fields empty.
    bool IsBlank() const;
    // First octet in the most significant byte; an empty field counts as 0.
    std::uint32_t Address() const;
    void SetAddress(std::uint32_t address);
    void Clear();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void focusInEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr int kFieldCount = 4;
    enum class Entry { SelectAll, CaretAtStart, CaretAtEnd };

    int FieldIndex(const QObject* object) const;
    bool HandleKey(int index, const QKeyEvent& event);
    void OnFieldEdited(int index);
    void EnterField(int index, Entry entry);
    void PasteInto(int index, QClipboard::Mode source);
    void ShowContextMenu(int index, const QPoint& globalPosition);

    std::array<QLineEdit*, kFieldCount> m_fields{};
    // The field that an automatic move has just entered: a dot typed there is the separator the
    // user typed out of habit, not a request to move again.
    int m_enteredByAdvance = -1;
};

}  // namespace kestrelink
