#include <QColor>
#include <QImage>
#include <QPalette>
#include <QTest>

#include "faces/qt/sort_arrow_bitmaps.h"

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
    QTest::addColumn<int>("darkPixels");
    QTest::addColumn<int>("whitePixels");
    // The shape is the behaviour's; here, its shades in the palette. The eight pixels of the base
    // are lit at the bottom of the arrow that points up and in shadow at the top of the other.
    QTest::newRow("133 points up") << 133 << 6 << 6 + 8;
    QTest::newRow("134 points down") << 134 << 6 + 8 << 6;
}

// Drawn in the palette's colours: ground as the button face, shadow as the dark shade (not the
// darker Shadow role), light as white.
void SortArrowBitmapsTest::arrow() {
    QFETCH(int, bitmap);
    QFETCH(int, darkPixels);
    QFETCH(int, whitePixels);
    QPalette palette;
    const QColor ground(10, 20, 30);
    const QColor dark(200, 0, 0);
    palette.setColor(QPalette::Button, ground);
    palette.setColor(QPalette::Dark, dark);
    palette.setColor(QPalette::Shadow, QColor(0, 200, 0));
    const QImage image =
        SortArrowBitmap(bitmap, palette).toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(image.size(), QSize(14, 14));

    QMap<QRgb, int> pixels;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ++pixels[image.pixel(x, y)];
        }
    }
    QCOMPARE(pixels.value(dark.rgb()), darkPixels);
    QCOMPARE(pixels.value(QColor(Qt::white).rgb()), whitePixels);
    QCOMPARE(pixels.value(ground.rgb()), 14 * 14 - darkPixels - whitePixels);
}

void SortArrowBitmapsTest::unknownBitmapIsNull() {
    QVERIFY(SortArrowBitmap(101, QPalette()).isNull());
    QVERIFY(SortArrowBitmap(135, QPalette()).isNull());
}

QTEST_MAIN(SortArrowBitmapsTest)
#include "sort_arrow_bitmaps_test.moc"
