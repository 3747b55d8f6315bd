#include "PointerCapture.h"
#include "PropertyBag.h"
#include "SettingsPropertyBag.h"
#include "XPButton.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class CountingCapture final : public PointerCapture
{
public:
    void setCapture(QWidget &) override { ++captures; }
    void releaseCapture(QWidget &) override { ++releases; }

    int captures = 0;
    int releases = 0;
};

// Hands out one stored value (or none) and records the single write it receives.
class OneValueBag final : public PropertyBag
{
public:
    QVariant readProperty(const QString &name, const QVariant &defaultValue) const override
    {
        return name == u"caption"_s && stored.isValid() ? stored : defaultValue;
    }
    void writeProperty(const QString &name, const QVariant &value,
                       const QVariant &defaultValue) override
    {
        written = {name, value, defaultValue};
    }

    QVariant stored;
    QVariantList written;
};

enum class Event
{
    Shown,
    Resized,
    CaptionSet,
    MoveInside,
    MoveOutside,
    DownLeft,
    DownOther,
    Up
};

void sendMouse(QWidget &widget, QEvent::Type type, QPointF position, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent event(type, position, widget.mapToGlobal(position), button, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

void moveTo(QWidget &widget, QPointF position, Qt::MouseButtons held = Qt::NoButton)
{
    sendMouse(widget, QEvent::MouseMove, position, Qt::NoButton, held);
}

// The last of the held buttons goes down.
void press(QWidget &widget, Qt::MouseButtons held)
{
    const auto last = Qt::MouseButton(held.toInt() & -held.toInt());
    sendMouse(widget, QEvent::MouseButtonPress, {10, 10}, last, held);
}

// The last held button comes up.
void release(QWidget &widget, QPointF position = {10, 10}, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(widget, QEvent::MouseButtonRelease, position, button, Qt::NoButton);
}

QList<int> looks(const QSignalSpy &spy)
{
    QList<int> painted;
    for (const QList<QVariant> &arguments : spy)
        painted << arguments.at(0).toInt();
    return painted;
}

} // namespace

Q_DECLARE_METATYPE(Event)

class TestXPButton final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stateTable_data();
    void stateTable();
    void boundsAreInclusive_data();
    void boundsAreInclusive();
    void captureIsRequestedOnEveryMoveInside();
    void leavingWithTheButtonHeldComesBackToHover();
    void clickRule_data();
    void clickRule();
    void realEventsCaptureAndClick();
    void keysNeverPressIt();
    void captionSetterStoresPaintsThenNotifies();
    void readProperties_data();
    void readProperties();
    void writeProperties();
    void settingsStoreRoundTrip_data();
    void settingsStoreRoundTrip();
};

void TestXPButton::stateTable_data()
{
    QTest::addColumn<bool>("mouseOverBefore");
    QTest::addColumn<bool>("leftPressedBefore");
    QTest::addColumn<Event>("event");
    QTest::addColumn<int>("mouseOverAfter"); // -1: unchanged
    QTest::addColumn<int>("leftPressedAfter");
    QTest::addColumn<QList<int>>("painted");

    struct Row
    {
        const char *name;
        Event event;
        int mouseOverAfter, leftPressedAfter;
        QList<int> painted;
        int onlyWhenMouseOver; // -1: any state
    };
    const Row rows[] = {
        {"shown", Event::Shown, -1, -1, {1}, -1},
        {"resized", Event::Resized, -1, -1, {1}, -1},
        {"caption set", Event::CaptionSet, -1, -1, {1}, -1},
        {"move inside, first", Event::MoveInside, 1, -1, {2}, 0},
        {"move inside, again", Event::MoveInside, 1, -1, {}, 1},
        {"move outside", Event::MoveOutside, 0, -1, {1}, -1},
        {"down left alone", Event::DownLeft, -1, 1, {3}, -1},
        {"down other", Event::DownOther, -1, 0, {}, -1},
        {"up", Event::Up, 0, -1, {1}, -1},
    };
    for (const bool mouseOver : {false, true}) {
        for (const bool leftPressed : {false, true}) {
            for (const Row &row : rows) {
                if (row.onlyWhenMouseOver != -1 && row.onlyWhenMouseOver != int(mouseOver))
                    continue;
                QTest::addRow("%s, over %d, left %d", row.name, mouseOver, leftPressed)
                    << mouseOver << leftPressed << row.event << row.mouseOverAfter
                    << row.leftPressedAfter << row.painted;
            }
        }
    }
}

void TestXPButton::stateTable()
{
    QFETCH(bool, mouseOverBefore);
    QFETCH(bool, leftPressedBefore);
    QFETCH(Event, event);
    QFETCH(int, mouseOverAfter);
    QFETCH(int, leftPressedAfter);
    QFETCH(QList<int>, painted);

    CountingCapture capture;
    XPButton button(capture);
    if (leftPressedBefore)
        press(button, Qt::LeftButton);
    if (mouseOverBefore)
        moveTo(button, {10, 10});
    QCOMPARE(button.mouseOver(), mouseOverBefore);
    QCOMPARE(button.leftPressed(), leftPressedBefore);

    QSignalSpy spy(&button, &XPButton::lookPainted);
    switch (event) {
    case Event::Shown: {
        QShowEvent shown;
        QCoreApplication::sendEvent(&button, &shown);
        break;
    }
    case Event::Resized: {
        QResizeEvent resized(button.size(), button.size());
        QCoreApplication::sendEvent(&button, &resized);
        break;
    }
    case Event::CaptionSet:
        button.setCaption(u"OK"_s);
        break;
    case Event::MoveInside:
        moveTo(button, {50, 20});
        break;
    case Event::MoveOutside:
        moveTo(button, {-5, 20});
        break;
    case Event::DownLeft:
        press(button, Qt::LeftButton);
        break;
    case Event::DownOther:
        press(button, Qt::RightButton);
        break;
    case Event::Up:
        release(button);
        break;
    }

    QCOMPARE(button.mouseOver(), mouseOverAfter == -1 ? mouseOverBefore : bool(mouseOverAfter));
    QCOMPARE(button.leftPressed(),
             leftPressedAfter == -1 ? leftPressedBefore : bool(leftPressedAfter));
    QCOMPARE(looks(spy), painted);
}

void TestXPButton::boundsAreInclusive_data()
{
    QTest::addColumn<QPointF>("position");
    QTest::addColumn<bool>("inside");

    // The button is 102 x 47 pixels, 1530 x 705 twips.
    QTest::newRow("top-left corner") << QPointF(0, 0) << true;
    QTest::newRow("right edge line") << QPointF(102, 20) << true;
    QTest::newRow("bottom edge line") << QPointF(50, 47) << true;
    QTest::newRow("bottom-right corner line") << QPointF(102, 47) << true;
    QTest::newRow("just left") << QPointF(-0.5, 20) << false;
    QTest::newRow("just above") << QPointF(50, -0.5) << false;
    QTest::newRow("just right") << QPointF(102.5, 20) << false;
    QTest::newRow("just below") << QPointF(50, 47.5) << false;
}

void TestXPButton::boundsAreInclusive()
{
    QFETCH(QPointF, position);
    QFETCH(bool, inside);

    CountingCapture capture;
    XPButton button(capture);
    QCOMPARE(button.size(), QSize(102, 47));
    QSignalSpy spy(&button, &XPButton::lookPainted);
    moveTo(button, position);
    QCOMPARE(button.mouseOver(), inside);
    QCOMPARE(looks(spy), QList<int>{inside ? 2 : 1});
    QCOMPARE(capture.captures, inside ? 1 : 0);
    QCOMPARE(capture.releases, inside ? 0 : 1);
}

void TestXPButton::captureIsRequestedOnEveryMoveInside()
{
    CountingCapture capture;
    XPButton button(capture);
    QSignalSpy spy(&button, &XPButton::lookPainted);
    for (const QPointF position : {QPointF(5, 5), QPointF(6, 5), QPointF(90, 40)})
        moveTo(button, position);
    QCOMPARE(capture.captures, 3);
    QCOMPARE(looks(spy), QList<int>{2});

    // Every move outside repaints and releases, whether or not the pointer was over it.
    moveTo(button, {200, 5});
    moveTo(button, {201, 5});
    QCOMPARE(capture.releases, 2);
    moveTo(button, {5, 5});
    QCOMPARE(looks(spy), (QList<int>{2, 1, 1, 2}));
    QCOMPARE(capture.captures, 4);
}

void TestXPButton::leavingWithTheButtonHeldComesBackToHover()
{
    CountingCapture capture;
    XPButton button(capture);
    QSignalSpy spy(&button, &XPButton::lookPainted);
    press(button, Qt::LeftButton);
    moveTo(button, {-10, 10}, Qt::LeftButton);
    QCOMPARE(capture.releases, 1);
    moveTo(button, {10, 10}, Qt::LeftButton);
    QCOMPARE(looks(spy), (QList<int>{3, 1, 2}));
    QVERIFY(button.leftPressed());
}

void TestXPButton::clickRule_data()
{
    QTest::addColumn<Qt::MouseButtons>("held");
    QTest::addColumn<QPointF>("releasedAt");
    QTest::addColumn<int>("clicks");

    QTest::newRow("left") << Qt::MouseButtons(Qt::LeftButton) << QPointF(10, 10) << 1;
    QTest::newRow("left, released on the edge line")
        << Qt::MouseButtons(Qt::LeftButton) << QPointF(102, 47) << 1;
    QTest::newRow("left, released outside")
        << Qt::MouseButtons(Qt::LeftButton) << QPointF(110, 10) << 0;
    QTest::newRow("right") << Qt::MouseButtons(Qt::RightButton) << QPointF(10, 10) << 0;
    QTest::newRow("middle") << Qt::MouseButtons(Qt::MiddleButton) << QPointF(10, 10) << 0;
    QTest::newRow("left and right") << (Qt::LeftButton | Qt::RightButton) << QPointF(10, 10) << 0;
}

void TestXPButton::clickRule()
{
    QFETCH(Qt::MouseButtons, held);
    QFETCH(QPointF, releasedAt);
    QFETCH(int, clicks);

    CountingCapture capture;
    XPButton button(capture);
    QSignalSpy clicked(&button, &XPButton::Click);
    press(button, held);
    release(button, releasedAt);
    QCOMPARE(clicked.count(), clicks);

    // The flag lives until the next press: a host click with no press in between raises
    // Click again after a left press, and a right press ends that.
    const int again = held == Qt::LeftButton ? 1 : 0;
    release(button);
    QCOMPARE(clicked.count(), clicks + again);
    press(button, Qt::RightButton);
    release(button, {10, 10}, Qt::RightButton);
    QCOMPARE(clicked.count(), clicks + again);
}

void TestXPButton::realEventsCaptureAndClick()
{
    // Through the window system path, where only the grab brings a move outside the button
    // to it.
    QWidget host;
    host.resize(300, 200);
    auto *button = new XPButton(&host);
    button->move(50, 50);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QWindow *window = host.windowHandle();
    QSignalSpy clicked(button, &XPButton::Click);

    QTest::mouseMove(window, {60, 60});
    QTRY_VERIFY(button->mouseOver());
    QCOMPARE(QWidget::mouseGrabber(), button);
    QTest::mouseMove(window, {10, 10});
    QTRY_VERIFY(!button->mouseOver());
    QCOMPARE(QWidget::mouseGrabber(), nullptr);

    QTest::mouseClick(window, Qt::LeftButton, {}, {60, 60});
    QTRY_COMPARE(clicked.count(), 1);
    QTest::mousePress(window, Qt::LeftButton, {}, {60, 60});
    QTest::mouseRelease(window, Qt::LeftButton, {}, {10, 10});
    QTest::mouseClick(window, Qt::RightButton, {}, {60, 60});
    QCOMPARE(clicked.count(), 1);
    QVERIFY(!button->leftPressed());
}

void TestXPButton::keysNeverPressIt()
{
    XPButton button;
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    QCOMPARE(button.focusPolicy(), Qt::NoFocus);
    QSignalSpy clicked(&button, &XPButton::Click);
    QSignalSpy painted(&button, &XPButton::lookPainted);
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter})
        QTest::keyClick(&button, key);
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(painted.count(), 0);
}

void TestXPButton::captionSetterStoresPaintsThenNotifies()
{
    XPButton button;
    QSignalSpy painted(&button, &XPButton::lookPainted);
    QStringList seen;
    connect(&button, &XPButton::PropertyChanged, &button, [&](const QString &name) {
        seen << name << button.Caption() << QString::number(painted.count());
    });
    button.setCaption(u"确定"_s);
    QCOMPARE(seen, (QStringList{u"caption"_s, u"确定"_s, u"1"_s}));
    QCOMPARE(looks(painted), QList<int>{1});
}

void TestXPButton::readProperties_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("caption");

    QTest::newRow("nothing stored") << QVariant() << true << u"0"_s;
    QTest::newRow("empty") << QVariant(u""_s) << true << u""_s;
    QTest::newRow("text") << QVariant(u"取消"_s) << true << u"取消"_s;
    QTest::newRow("number") << QVariant(42) << true << u"42"_s;
    QTest::newRow("no text form") << QVariant(QPoint(1, 2)) << false << u"before"_s;
}

void TestXPButton::readProperties()
{
    QFETCH(QVariant, stored);
    QFETCH(bool, read);
    QFETCH(QString, caption);

    XPButton button;
    button.setCaption(u"before"_s);
    OneValueBag bag;
    bag.stored = stored;
    QSignalSpy painted(&button, &XPButton::lookPainted);
    QCOMPARE(button.UserControl_ReadProperties(bag), read);
    QCOMPARE(button.Caption(), caption);
    QCOMPARE(painted.count(), 0);
}

void TestXPButton::writeProperties()
{
    XPButton button;
    OneValueBag bag;
    button.UserControl_WriteProperties(bag);
    QCOMPARE(bag.written, (QVariantList{u"caption"_s, u""_s, u"0"_s}));
}

void TestXPButton::settingsStoreRoundTrip_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("kept");

    QTest::newRow("the default") << u"0"_s << false;
    QTest::newRow("empty") << u""_s << true;
    QTest::newRow("text") << u"确定"_s << true;
}

void TestXPButton::settingsStoreRoundTrip()
{
    QFETCH(QString, caption);
    QFETCH(bool, kept);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(u"host.ini"_s);
    {
        QSettings settings(file, QSettings::IniFormat);
        SettingsPropertyBag bag(settings, u"XPButton1"_s);
        XPButton button;
        // A value saved earlier must not outlive a save of the default.
        button.setCaption(u"earlier"_s);
        button.UserControl_WriteProperties(bag);
        button.setCaption(caption);
        button.UserControl_WriteProperties(bag);
    }
    QSettings settings(file, QSettings::IniFormat);
    QCOMPARE(settings.contains(u"XPButton1/caption"_s), kept);
    XPButton restored;
    QVERIFY(restored.UserControl_ReadProperties(SettingsPropertyBag(settings, u"XPButton1"_s)));
    QCOMPARE(restored.Caption(), caption);
}

QTEST_MAIN(TestXPButton)
#include "tst_xpbutton.moc"
