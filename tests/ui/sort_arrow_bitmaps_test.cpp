#include <QColor>
#include <QPalette>
#include <QSet>
#include <QTest>

#include "ui/sort_arrow_bitmaps.h"

using namespace kestrelink;

namespace {

const QColor kLightGrey(192, 192, 192);
const QColor kDarkGrey(128, 128, 128);
const QColor kWhite(255, 255, 255);

// The outline's pixels of one row: every pixel that is not the light grey ground.
QList<int> OutlineColumns(const QImage& image, int y) {
    QList<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, y) != kLightGrey) {
            columns << x;
        }
    }
    return columns;
}

}  // namespace

class SortArrowBitmapsTest final : public QObject {
    Q_OBJECT

private slots:
    void arrow_data();
    void arrow();
    void unknownBitmapIsNull();
};

void SortArrowBitmapsTest::arrow_data() {
    QTest::addColumn<int>("bitmap");
    QTest::addColumn<int>("baseRow");
    QTest::addColumn<int>("apexRow");
    QTest::addColumn<QColor>("baseColour");
    QTest::newRow("133 up: base white") << kSortArrowUpBitmap << 10 << 4 << kWhite;
    QTest::newRow("134 down: base dark grey") << kSortArrowDownBitmap << 4 << 10 << kDarkGrey;
}

void SortArrowBitmapsTest::arrow() {
    QFETCH(int, bitmap);
    QFETCH(int, baseRow);
    QFETCH(int, apexRow);
    QFETCH(QColor, baseColour);
    const QImage image = SortArrowReference(bitmap);
    QCOMPARE(image.size(), QSize(14, 14));

    QSet<QRgb> colours;
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 14; ++x) {
            colours.insert(image.pixel(x, y));
        }
        const bool insideTriangle = y >= 4 && y <= 10;
        QCOMPARE(OutlineColumns(image, y).isEmpty(), !insideTriangle);
    }
    QCOMPARE(colours, (QSet<QRgb>{kLightGrey.rgb(), kDarkGrey.rgb(), kWhite.rgb()}));

    // Base eight wide and centred: three pixels of ground on either side.
    QCOMPARE(OutlineColumns(image, baseRow), (QList<int>{3, 4, 5, 6, 7, 8, 9, 10}));
    for (const int x : OutlineColumns(image, baseRow)) {
        QCOMPARE(image.pixelColor(x, baseRow), baseColour);
    }
    QCOMPARE(OutlineColumns(image, apexRow), (QList<int>{6, 7}));

    // Hollow, narrowing from base to apex without a gap in either slope, shaded dark on the left
    // and white on the right.
    const int step = apexRow > baseRow ? 1 : -1;
    for (int y = baseRow + step; y != apexRow + step; y += step) {
        const QList<int> row = OutlineColumns(image, y);
        const QList<int> wider = OutlineColumns(image, y - step);
        QCOMPARE(row.size(), 2);
        QVERIFY2(row.first() - wider.first() <= 1 && row.first() >= wider.first(),
                 qPrintable(QStringLiteral("left slope breaks at row %1").arg(y)));
        QCOMPARE(row.first() + row.last(), 13);
        QCOMPARE(image.pixelColor(row.first(), y), kDarkGrey);
        QCOMPARE(image.pixelColor(row.last(), y), kWhite);
    }

    // Drawn in the palette's colours: ground as Button, dark grey as Dark, white stays.
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(10, 20, 30));
    palette.setColor(QPalette::Dark, QColor(200, 0, 0));
    palette.setColor(QPalette::Shadow, QColor(0, 200, 0));
    const QImage mapped = SortArrowBitmap(bitmap, palette).toImage();
    QCOMPARE(mapped.size(), image.size());
    const QHash<QRgb, QColor> expected = {{kLightGrey.rgb(), QColor(10, 20, 30)},
                                          {kDarkGrey.rgb(), QColor(200, 0, 0)},
                                          {kWhite.rgb(), kWhite}};
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            QCOMPARE(mapped.pixelColor(x, y), expected.value(image.pixel(x, y)));
        }
    }
}

void SortArrowBitmapsTest::unknownBitmapIsNull() {
    QVERIFY(SortArrowReference(135).isNull());
    QVERIFY(SortArrowBitmap(101, QPalette()).isNull());
}

QTEST_MAIN(SortArrowBitmapsTest)
#include "sort_arrow_bitmaps_test.moc"
