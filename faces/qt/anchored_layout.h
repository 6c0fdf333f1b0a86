#pragma once

#include <QLayout>
#include <memory>
#include <vector>

namespace kestrelink {

// Lays out a dialog drawn at a fixed size that may now be made larger: each control keeps its
// distance to the dialog edges it is anchored to, so a control anchored left and right grows with
// the width, one anchored right only moves with the right edge. At the size it was drawn, every
// control is exactly where it was drawn.
class AnchoredLayout final : public QLayout {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AnchoredLayout)

public:
    // drawnSize: the parent's size as it was drawn, also the smallest it can be made.
    AnchoredLayout(QWidget* parent, QSize drawnSize);
    ~AnchoredLayout() override;

    // control, a child of the parent, at its current geometry as drawn.
    void AddAnchored(QWidget* control, Qt::Edges anchors);

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    struct Anchored {
        std::unique_ptr<QLayoutItem> item;
        QRect drawn;
        Qt::Edges anchors;
    };

    QSize m_drawnSize;
    std::vector<Anchored> m_controls;
};

}  // namespace kestrelink
