#include <QColor>
#include <QPalette>
#include <QTest>

#include "tests/ui/support/arrow_picture.h"
#include "ui/sort_arrow_bitmaps.h"

using namespace kestrelink;

class SortArrowBitmapsTest final : public QObject {
    Q_OBJECT

private slots:
    void arrow_data();
    void arrow();
    void unknownBitmapIsNull();
};

void SortArrowBitmapsTest::arrow_data() {
    QTest::addColumn<int>("bitmap");
    QTest::addColumn<bool>("up");
    QTest::newRow("133 points up") << 133 << true;
    QTest::newRow("134 points down") << 134 << false;
}

// Drawn in the palette's colours: ground as the button face, dark grey as the dark shade (not the
// darker shadow), white as white.
void SortArrowBitmapsTest::arrow() {
    QFETCH(int, bitmap);
    QFETCH(bool, up);
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(10, 20, 30));
    palette.setColor(QPalette::Dark, QColor(200, 0, 0));
    palette.setColor(QPalette::Shadow, QColor(0, 200, 0));
    QCOMPARE(SortArrowBitmap(bitmap, palette).toImage().convertToFormat(QImage::Format_RGB32),
             testing::ArrowPicture(up, palette));
}

void SortArrowBitmapsTest::unknownBitmapIsNull() {
    QVERIFY(SortArrowBitmap(101, QPalette()).isNull());
    QVERIFY(SortArrowBitmap(135, QPalette()).isNull());
}

QTEST_MAIN(SortArrowBitmapsTest)
#include "sort_arrow_bitmaps_test.moc"
