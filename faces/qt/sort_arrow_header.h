#pragma once

#include <QHeaderView>

namespace kestrelink {

// A header that draws a section's decoration just right of its text, where the sort arrow
// belongs, instead of at the left edge where Qt's styles put icons.
class SortArrowHeader final : public QHeaderView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SortArrowHeader)

public:
    explicit SortArrowHeader(QWidget* parent = nullptr);
    ~SortArrowHeader() override;

    // Where the arrow of section goes, in the header's coordinates; empty without an arrow.
    QRect ArrowRect(int section) const;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;

private:
    QRect ArrowRect(int section, const QRect& sectionRect) const;
};

}  // namespace kestrelink
