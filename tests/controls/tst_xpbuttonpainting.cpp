#include "XPButton.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QImage picture(int look)
{
    return QImage(u":/xpbutton/im%1.png"_s.arg(look)).convertToFormat(QImage::Format_RGB32);
}

QImage shot(XPButton &button)
{
    return button.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Where a pixel of a control of the given extent takes its colour from in a picture band
// of 3 | middle | 3 pixels, when the middle band stretches by a whole factor.
int sourceOf(int pixel, int extent, int middle)
{
    if (pixel < 3)
        return pixel;
    if (pixel >= extent - 3)
        return pixel - (extent - 3) + 3 + middle;
    return 3 + (pixel - 3) * middle / (extent - 6);
}

bool isWarm(QRgb colour)
{
    return qRed(colour) - qBlue(colour) > 30;
}

// Pixels that differ between two pictures of the same size: where the caption went.
QRect changedArea(const QImage &before, const QImage &after)
{
    QRect area;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y))
                area |= QRect(x, y, 1, 1);
    return area;
}

} // namespace

class TestXPButtonPainting final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void naturalSizeIsThePicture_data();
    void naturalSizeIsThePicture();
    void nineSlice_data();
    void nineSlice();
    void cornersKeepTheirSize_data();
    void cornersKeepTheirSize();
    void warmFrameKeepsTwoPixels_data();
    void warmFrameKeepsTwoPixels();
    void captionIsCentred_data();
    void captionIsCentred();
    void repaintLeavesNoTrace_data();
    void repaintLeavesNoTrace();
    void unknownLookDrawsNothing_data();
    void unknownLookDrawsNothing();
};

void TestXPButtonPainting::naturalSizeIsThePicture_data()
{
    QTest::addColumn<int>("look");
    QTest::newRow("normal") << 1;
    QTest::newRow("hover") << 2;
    QTest::newRow("pressed") << 3;
}

void TestXPButtonPainting::naturalSizeIsThePicture()
{
    QFETCH(int, look);

    XPButton button;
    button.resize(18, 21);
    button.show();
    QVERIFY(button.PrintB(look));
    QCOMPARE(shot(button), picture(look));
}

void TestXPButtonPainting::nineSlice_data()
{
    QTest::addColumn<int>("look");
    QTest::addColumn<QSize>("size");

    // Middle bands of 12 x 15 pixels stretched by whole factors.
    for (int look = 1; look <= 3; ++look) {
        QTest::addRow("look %d, designed width", look) << look << QSize(102, 51);
        QTest::addRow("look %d, wider only", look) << look << QSize(42, 21);
        QTest::addRow("look %d, taller only", look) << look << QSize(18, 66);
    }
}

void TestXPButtonPainting::nineSlice()
{
    QFETCH(int, look);
    QFETCH(QSize, size);

    XPButton button;
    button.resize(size);
    button.show();
    QVERIFY(button.PrintB(look));
    const QImage drawn = shot(button);
    const QImage source = picture(look);
    QCOMPARE(drawn.size(), size);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QRgb expected =
                source.pixel(sourceOf(x, size.width(), 12), sourceOf(y, size.height(), 15));
            if (drawn.pixel(x, y) != expected)
                QFAIL(qPrintable(u"pixel %1,%2"_s.arg(x).arg(y)));
        }
    }
}

void TestXPButtonPainting::cornersKeepTheirSize_data()
{
    QTest::addColumn<int>("look");
    QTest::addColumn<QSize>("size");

    for (int look = 1; look <= 3; ++look) {
        QTest::addRow("look %d, designed size", look) << look << QSize(102, 47);
        QTest::addRow("look %d, odd size", look) << look << QSize(77, 29);
    }
}

void TestXPButtonPainting::cornersKeepTheirSize()
{
    QFETCH(int, look);
    QFETCH(QSize, size);

    XPButton button;
    button.resize(size);
    button.show();
    QVERIFY(button.PrintB(look));
    const QImage drawn = shot(button);
    const QImage source = picture(look);
    // At 1530 x 705 twips the right corners start at 1485, the bottom ones at 660.
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            QCOMPARE(drawn.pixel(x, y), source.pixel(x, y));
            QCOMPARE(drawn.pixel(size.width() - 3 + x, y), source.pixel(15 + x, y));
            QCOMPARE(drawn.pixel(x, size.height() - 3 + y), source.pixel(x, 18 + y));
            QCOMPARE(drawn.pixel(size.width() - 3 + x, size.height() - 3 + y),
                     source.pixel(15 + x, 18 + y));
        }
    }
}

void TestXPButtonPainting::warmFrameKeepsTwoPixels_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("designed size") << QSize(102, 47);
    QTest::newRow("large") << QSize(300, 80);
    QTest::newRow("narrow and tall") << QSize(30, 61);
}

void TestXPButtonPainting::warmFrameKeepsTwoPixels()
{
    QFETCH(QSize, size);

    XPButton button;
    button.resize(size);
    button.show();
    QVERIFY(button.PrintB(XPButton::Hover));
    const QImage drawn = shot(button);
    const int w = size.width();
    const int h = size.height();
    for (int y = 3; y < h - 3; ++y) {
        QVERIFY(isWarm(drawn.pixel(1, y)) && isWarm(drawn.pixel(2, y)));
        QVERIFY(isWarm(drawn.pixel(w - 3, y)) && isWarm(drawn.pixel(w - 2, y)));
        QVERIFY(!isWarm(drawn.pixel(3, y)) && !isWarm(drawn.pixel(w - 4, y)));
    }
    for (int x = 3; x < w - 3; ++x) {
        QVERIFY(isWarm(drawn.pixel(x, 1)) && isWarm(drawn.pixel(x, 2)));
        QVERIFY(isWarm(drawn.pixel(x, h - 3)) && isWarm(drawn.pixel(x, h - 2)));
        QVERIFY(!isWarm(drawn.pixel(x, 3)) && !isWarm(drawn.pixel(x, h - 4)));
    }
}

void TestXPButtonPainting::captionIsCentred_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("fits");

    QTest::newRow("fits") << u"HHHH"_s << 102 << true;
    QTest::newRow("wider than the control") << u"Ein ziemlich langer Text"_s << 60 << false;
}

void TestXPButtonPainting::captionIsCentred()
{
    QFETCH(QString, caption);
    QFETCH(int, width);
    QFETCH(bool, fits);

    const auto makeButton = [](int buttonWidth, const QString &text) {
        auto button = std::make_unique<XPButton>();
        QFont font = button->font();
        font.setPixelSize(20);
        button->setFont(font);
        QPalette palette = button->palette();
        palette.setColor(QPalette::ButtonText, Qt::red);
        button->setPalette(palette);
        button->resize(buttonWidth, 47);
        button->show();
        button->setCaption(text);
        return button;
    };
    const QImage plain = shot(*makeButton(width, QString()));
    const QImage drawn = shot(*makeButton(width, caption));
    // The body is the same in every column of the middle band, so a caption centred on a
    // control 340 pixels wider lies 170 pixels further right and looks the same.
    const QImage wider = shot(*makeButton(width + 340, caption));

    for (int y = 3; y < 44; ++y)
        for (int x = 3; x < width - 3; ++x)
            QCOMPARE(drawn.pixel(x, y), wider.pixel(x + 170, y));

    const QRect ink = changedArea(plain, drawn);
    if (fits) {
        QVERIFY(ink.left() > 3 && ink.right() < width - 4);
        QVERIFY(qAbs(ink.left() - (width - 1 - ink.right())) <= 2);
        QVERIFY(qAbs(ink.top() - (46 - ink.bottom())) <= 3);
    } else {
        QVERIFY(ink.left() < 3 && ink.right() > width - 4);
    }
    bool penColour = false;
    for (int y = ink.top(); y <= ink.bottom(); ++y)
        for (int x = ink.left(); x <= ink.right(); ++x)
            penColour = penColour || drawn.pixel(x, y) == qRgb(255, 0, 0);
    QVERIFY(penColour);
}

void TestXPButtonPainting::repaintLeavesNoTrace_data()
{
    QTest::addColumn<int>("earlierLook");
    QTest::addColumn<QString>("earlierCaption");
    QTest::addColumn<QString>("caption");

    QTest::newRow("after hover") << 2 << u"A much longer caption"_s << u"OK"_s;
    QTest::newRow("after pressed") << 3 << u"A much longer caption"_s << u"OK"_s;
    QTest::newRow("caption emptied") << 3 << u"OK"_s << QString();
}

void TestXPButtonPainting::repaintLeavesNoTrace()
{
    QFETCH(int, earlierLook);
    QFETCH(QString, earlierCaption);
    QFETCH(QString, caption);

    XPButton reference;
    reference.show();
    if (!caption.isEmpty())
        reference.setCaption(caption);

    XPButton button;
    button.show();
    button.setCaption(earlierCaption);
    QVERIFY(button.PrintB(earlierLook));
    QVERIFY(shot(button) != shot(reference));
    button.setCaption(caption);
    QCOMPARE(shot(button), shot(reference));
}

void TestXPButtonPainting::unknownLookDrawsNothing_data()
{
    QTest::addColumn<int>("look");
    QTest::newRow("0") << 0;
    QTest::newRow("4") << 4;
    QTest::newRow("-1") << -1;
    QTest::newRow("beyond 16 bits") << 65537;
}

void TestXPButtonPainting::unknownLookDrawsNothing()
{
    QFETCH(int, look);

    XPButton button;
    button.show();
    QVERIFY(button.PrintB(XPButton::Pressed));
    const QImage before = shot(button);
    QSignalSpy painted(&button, &XPButton::lookPainted);
    QVERIFY(!button.PrintB(look));
    QCOMPARE(painted.count(), 0);
    QCOMPARE(shot(button), before);
}

QTEST_MAIN(TestXPButtonPainting)
#include "tst_xpbuttonpainting.moc"
