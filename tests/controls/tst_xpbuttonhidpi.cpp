#include "XPButton.h"

#include <QApplication>
#include <QTest>

using namespace Qt::StringLiterals;

// At twice the pixel density the retained surface must hold device pixels, or a look
// would come out scaled up and blurred instead of as the picture's pixels doubled.
class TestXPButtonHiDpi final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void picturePixelsAreDoubled_data();
    void picturePixelsAreDoubled();
    void captionUsesDevicePixels();
};

void TestXPButtonHiDpi::picturePixelsAreDoubled_data()
{
    QTest::addColumn<int>("look");
    QTest::newRow("normal") << 1;
    QTest::newRow("hover") << 2;
    QTest::newRow("pressed") << 3;
}

void TestXPButtonHiDpi::picturePixelsAreDoubled()
{
    QFETCH(int, look);

    XPButton button;
    button.resize(18, 21);
    button.show();
    QCOMPARE(button.devicePixelRatioF(), 2.0);
    QVERIFY(button.PrintB(look));
    QImage drawn = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(drawn.devicePixelRatio(), 2.0);
    drawn.setDevicePixelRatio(1);
    const QImage picture =
        QImage(u":/xpbutton/im%1.png"_s.arg(look)).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(drawn.size(), QSize(36, 42));
    QCOMPARE(drawn, picture.scaled(36, 42));
}

void TestXPButtonHiDpi::captionUsesDevicePixels()
{
    XPButton button;
    button.show();
    button.setCaption(u"Wag"_s);
    const QImage drawn = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The pictures fill whole 2 x 2 blocks; only a caption drawn at device resolution
    // gives a block of unequal pixels.
    bool finerThanLogical = false;
    for (int y = 0; y + 1 < drawn.height(); y += 2) {
        for (int x = 0; x + 1 < drawn.width(); x += 2) {
            const QRgb first = drawn.pixel(x, y);
            finerThanLogical = finerThanLogical || drawn.pixel(x + 1, y) != first ||
                               drawn.pixel(x, y + 1) != first || drawn.pixel(x + 1, y + 1) != first;
        }
    }
    QVERIFY(finerThanLogical);
}

int main(int argc, char *argv[])
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestXPButtonHiDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_xpbuttonhidpi.moc"
