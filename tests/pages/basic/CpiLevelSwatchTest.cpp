#include <QImage>
#include <QTest>

#include <algorithm>

#include "pages/basic/BasicSettingsPage.h"
#include "pages/basic/CpiLevelSwatch.h"
#include "settings/SettingsModel.h"
#include "support/SliderHelpers.h"

using namespace lark;

namespace {

// Number of pixels of the image that are not `colour`.
int pixelsOtherThan(const QImage& image, QColor colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y).rgb() != colour.rgb();
    return count;
}

QImage grabbed(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class CpiLevelSwatchTest : public QObject {
    Q_OBJECT

private slots:
    void defaults()
    {
        CpiLevelSwatch marker;
        QVERIFY(marker.captions.isEmpty());
        QCOMPARE(marker.currentCaption, 0);
        QCOMPARE(marker.textColor, QColor(0, 0, 0));
        QCOMPARE(marker.backgroundColor, QColor(240, 240, 240));
        QCOMPARE(marker.captionFont().pixelSize(), 24);
    }

    void pageMarkersAreSolidPatches()
    {
        SettingsModel model;
        BasicSettingsPage page(model);
        QList<CpiLevelSwatch*> markers = page.findChildren<CpiLevelSwatch*>();
        QCOMPARE(markers.size(), 4);
        std::sort(markers.begin(), markers.end(),
                  [](CpiLevelSwatch* a, CpiLevelSwatch* b) { return a->y() < b->y(); });
        const QColor expected[] = {QColor(0, 0, 255), QColor(0, 255, 0), QColor(255, 255, 0),
                                   QColor(255, 0, 0)};
        for (int k = 0; k < 4; ++k) {
            const QImage image = grabbed(markers[k]);
            QVERIFY(!image.isNull());
            QCOMPARE(image.size(), markers[k]->size());
            QVERIFY2(markers[k]->width() > 0 && markers[k]->height() > 0, "marker has no area");
            QCOMPARE(pixelsOtherThan(image, expected[k]), 0);
        }
    }

    void captionDrawnOnlyForValidIndex_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("first") << 0 << true;
        QTest::newRow("last") << 1 << true;
        QTest::newRow("minus one") << -1 << false;
        QTest::newRow("equal to count") << 2 << false;
    }

    void captionDrawnOnlyForValidIndex()
    {
        QFETCH(int, index);
        QFETCH(bool, drawn);
        CpiLevelSwatch marker;
        marker.resize(120, 40);
        marker.backgroundColor = QColor(10, 20, 30);
        marker.textColor = QColor(250, 250, 250);
        marker.captions = {QStringLiteral("AB"), QStringLiteral("WWW")};
        marker.currentCaption = index;

        const QImage image = grabbed(&marker);
        const int ink = pixelsOtherThan(image, marker.backgroundColor);
        QCOMPARE(ink > 0, drawn);
        // The frame of the field stays background: the caption sits centred, not at an edge.
        for (int x = 0; x < image.width(); ++x) {
            QCOMPARE(image.pixelColor(x, 0).rgb(), marker.backgroundColor.rgb());
            QCOMPARE(image.pixelColor(x, image.height() - 1).rgb(), marker.backgroundColor.rgb());
        }
        if (!drawn)
            return;
        // Ink is balanced around the centre column.
        int left = image.width(), right = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y).rgb() != marker.backgroundColor.rgb()) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        QVERIFY(std::abs((left + right) / 2 - image.width() / 2) <= 4);
    }
};

int main(int argc, char** argv)
{
    lark::test::useOffscreenByDefault();
    QApplication app(argc, argv);
    CpiLevelSwatchTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CpiLevelSwatchTest.moc"
