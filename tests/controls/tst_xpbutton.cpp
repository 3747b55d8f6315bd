#include "SettingsPropertyBag.h"
#include "XPButton.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The pointer's steps, one letter each, on a control of its designed 102 x 47 pixels: move in,
// onto the right edge, out; left down, right down beside it, right alone; up inside, outside.
void step(XPButton &button, char letter)
{
    struct Step
    {
        char letter;
        QEvent::Type type;
        qreal x;
        Qt::MouseButton changed;
        Qt::MouseButtons held;
    };
    static const Step steps[] = {
        {'i', QEvent::MouseMove, 10, Qt::NoButton, Qt::NoButton},
        {'e', QEvent::MouseMove, 102, Qt::NoButton, Qt::NoButton},
        {'o', QEvent::MouseMove, 103, Qt::NoButton, Qt::NoButton},
        {'d', QEvent::MouseButtonPress, 10, Qt::LeftButton, Qt::LeftButton},
        {'c', QEvent::MouseButtonPress, 10, Qt::RightButton, Qt::LeftButton | Qt::RightButton},
        {'r', QEvent::MouseButtonPress, 10, Qt::RightButton, Qt::RightButton},
        {'u', QEvent::MouseButtonRelease, 10, Qt::LeftButton, Qt::NoButton},
        {'x', QEvent::MouseButtonRelease, 103, Qt::LeftButton, Qt::NoButton},
    };
    for (const Step &s : steps) {
        if (s.letter != letter)
            continue;
        QMouseEvent event(s.type, QPointF(s.x, 10), button.mapToGlobal(QPointF(s.x, 10)), s.changed,
                          s.held, Qt::NoModifier);
        QCoreApplication::sendEvent(&button, &event);
    }
}

} // namespace

class TestXPButton final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mouse_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("seen"); // the looks drawn, the clicks, who holds the mouse
        QTest::newRow("hover") << u"ii"_s << u"looks 2, clicks 0, held"_s;
        QTest::newRow("right edge is inside") << u"e"_s << u"looks 2, clicks 0, held"_s;
        QTest::newRow("leave") << u"io"_s << u"looks 21, clicks 0, free"_s;
        QTest::newRow("click, then hover again") << u"idui"_s << u"looks 2312, clicks 1, held"_s;
        QTest::newRow("released outside") << u"idx"_s << u"looks 231, clicks 0, held"_s;
        QTest::newRow("chord cancels") << u"idcu"_s << u"looks 231, clicks 0, held"_s;
        QTest::newRow("right button") << u"iru"_s << u"looks 21, clicks 0, held"_s;
    }

    void mouse()
    {
        QFETCH(QString, steps);
        QFETCH(QString, seen);
        XPButton button;
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QSignalSpy painted(&button, &XPButton::lookPainted);
        QSignalSpy clicked(&button, &XPButton::Click);
        for (const QChar letter : steps)
            step(button, letter.toLatin1());
        QString looks;
        for (const QList<QVariant> &arguments : painted)
            looks += arguments.at(0).toString();
        QCOMPARE(u"looks %1, clicks %2, "_s.arg(looks).arg(clicked.size()) +
                     (QWidget::mouseGrabber() == &button ? u"held"_s : u"free"_s),
                 seen);
    }

    void painting_data()
    {
        QTest::addColumn<int>("look");
        QTest::addColumn<QSize>("size");
        for (int look = 1; look <= 3; ++look) {
            QTest::addRow("look %d natural", look) << look << QSize(18, 21);
            QTest::addRow("look %d stretched", look) << look << QSize(54, 63);
        }
    }

    // The corners keep their three pixels at any size; at the pictures' own size the control is
    // the picture.
    void painting()
    {
        QFETCH(int, look);
        QFETCH(QSize, size);
        XPButton button;
        button.resize(size);
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QVERIFY(button.PrintB(look));
        const QImage drawn = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage source =
            QImage(u":/xpbutton/im%1.png"_s.arg(look)).convertToFormat(QImage::Format_RGB32);
        if (size == source.size())
            QCOMPARE(drawn, source);
        for (const QPoint corner : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)}) {
            QCOMPARE(
                drawn.copy(corner.x() * (size.width() - 3), corner.y() * (size.height() - 3), 3, 3),
                source.copy(corner.x() * 15, corner.y() * 18, 3, 3));
        }
        QVERIFY(!button.PrintB(0) && !button.PrintB(4));
        QCOMPARE(XPButton().size(), QSize(102, 47)); // its designed 1530 x 705 twips
    }

    // The caption kept in the host's store between runs: "0" when none was stored, the default
    // never stored, and a caption drawn centred on the control.
    void caption()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath(u"host.ini"_s), QSettings::IniFormat);
        SettingsPropertyBag bag(settings, u"XPButton1"_s);
        XPButton first, second;
        QSignalSpy changed(&first, &XPButton::PropertyChanged);
        QVERIFY(first.UserControl_ReadProperties(bag));
        QCOMPARE(first.Caption(), u"0"_s);
        first.resize(200, 60);
        first.setCaption(QString());
        const QImage bare = first.grab().toImage();
        first.setCaption(u"确定"_s);
        QCOMPARE(changed.last(), QVariantList{u"caption"_s});
        QRect ink;
        const QImage captioned = first.grab().toImage();
        for (int y = 0; y < bare.height(); ++y)
            for (int x = 0; x < bare.width(); ++x)
                ink |= bare.pixel(x, y) == captioned.pixel(x, y) ? QRect() : QRect(x, y, 1, 1);
        QVERIFY(!ink.isEmpty() && (ink.center() - first.rect().center()).manhattanLength() <= 4);
        first.UserControl_WriteProperties(bag);
        QVERIFY(second.UserControl_ReadProperties(bag));
        QCOMPARE(second.Caption(), u"确定"_s);
        second.setCaption(u"0"_s);
        second.UserControl_WriteProperties(bag);
        QCOMPARE(settings.allKeys(), QStringList());
    }
};

QTEST_MAIN(TestXPButton)
#include "tst_xpbutton.moc"
