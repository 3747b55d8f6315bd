// The screen of a Wayland desktop through org.freedesktop.portal.Screenshot, played here by a
// stand-in portal on the private session bus, with the window on a headless weston
// (on-weston.sh): the request object's Response, the file it names, read and then removed; a
// refusal; no portal at all; and what the window makes of each.
#include "FormHarness.h"
#include "PortalScreenshot.h"
#include "StandInServer.h"

#include <QBuffer>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;
using namespace TestSupport;

namespace {

const QStringList Lines = {u"今天天气很好，我们去公园散步。"_s,
                           u"Translate the text on the screen"_s};

// The portal's Screenshot method on a bus connection of its own: each call is answered with
// code and, when file holds bytes, a file with them, made for that call.
class StandInPortal final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")

public:
    uint code = 0;
    QByteArray file;
    QString path;
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"portal"_s);

    bool start()
    {
        return bus.registerObject(u"/org/freedesktop/portal/desktop"_s, this,
                                  QDBusConnection::ExportScriptableSlots) &&
               bus.registerService(u"org.freedesktop.portal.Desktop"_s);
    }
    ~StandInPortal() override
    {
        bus.unregisterService(u"org.freedesktop.portal.Desktop"_s);
        bus.unregisterObject(u"/org/freedesktop/portal/desktop"_s);
    }

public Q_SLOTS:
    Q_SCRIPTABLE QDBusObjectPath Screenshot(const QString &, const QVariantMap &options)
    {
        const QString sender =
            QDBusConnection::sessionBus().baseService().mid(1).replace(u'.', u'_');
        const QString handle = u"/org/freedesktop/portal/desktop/request/"_s + sender + u'/' +
                               options.value(u"handle_token"_s).toString();
        QFile picture(path);
        if (!file.isEmpty() && (!picture.open(QIODevice::WriteOnly) || picture.write(file) < 0))
            qFatal("the stand-in portal cannot write its file");
        picture.close();
        // The answer comes after the call's reply, as the user takes a while to agree.
        QMetaObject::invokeMethod(
            this,
            [this, handle] {
                QDBusMessage response = QDBusMessage::createSignal(
                    handle, u"org.freedesktop.portal.Request"_s, u"Response"_s);
                response << code << QVariantMap{{u"uri"_s, QUrl::fromLocalFile(path).toString()}};
                bus.send(response);
            },
            Qt::QueuedConnection);
        return QDBusObjectPath(handle);
    }
};

// The whole desktop as the portal shows it: white, with Lines at the top left.
QImage Desktop()
{
    QImage desktop(QGuiApplication::primaryScreen()->virtualGeometry().size(),
                   QImage::Format_RGB32);
    desktop.fill(Qt::white);
    QPainter painter(&desktop);
    QFont font(u"WenQuanYi Micro Hei"_s);
    for (qsizetype i = 0; i < Lines.size(); ++i) {
        font.setPixelSize(int(36 - 16 * i));
        painter.setFont(font);
        painter.drawText(20, int(50 + 60 * i), Lines[i]);
    }
    return desktop;
}

QByteArray Png(const QImage &picture)
{
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    picture.save(&png, "PNG");
    return png.data();
}

} // namespace

class TestPortal final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void screenshot_data()
    {
        QTest::addColumn<bool>("portal");
        QTest::addColumn<uint>("code");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("failure"); // -1: taken
        QTest::newRow("taken") << true << 0u << QByteArray("PNG") << -1;
        QTest::newRow("refused") << true << 1u << QByteArray()
                                 << int(PortalScreenshot::Failure::Refused);
        QTest::newRow("no picture in the file")
            << true << 0u << QByteArray("white") << int(PortalScreenshot::Failure::Unreadable);
        QTest::newRow("no portal")
            << false << 0u << QByteArray() << int(PortalScreenshot::Failure::NoPortal);
    }

    void screenshot()
    {
        QFETCH(bool, portal);
        QFETCH(uint, code);
        QFETCH(QByteArray, file);
        QFETCH(int, failure);
        QTemporaryDir folder;
        QImage desktop(64, 48, QImage::Format_RGB32);
        desktop.fill(Qt::darkCyan);
        StandInPortal standIn;
        standIn.code = code;
        standIn.path = folder.filePath(u"Screenshot.png"_s);
        standIn.file = file == "PNG" ? Png(desktop) : file;
        if (portal)
            QVERIFY(standIn.start());

        PortalScreenshot screenshot;
        QSignalSpy taken(&screenshot, &PortalScreenshot::taken);
        QSignalSpy failed(&screenshot, &PortalScreenshot::failed);
        screenshot.take();
        QTRY_COMPARE(taken.size() + failed.size(), 1);
        if (failure < 0)
            QCOMPARE(taken.front().front().value<QImage>(), desktop);
        else
            QCOMPARE(int(failed.front().front().value<PortalScreenshot::Failure>()), failure);
        QCOMPARE(QFile::exists(standIn.path), false); // read, then removed
    }

    // The window on Wayland: an area of the screen, or one dragged on the frozen screen, comes
    // from the portal and is translated; a refusal and a missing portal are said as such.
    void window_data()
    {
        QTest::addColumn<QRect>("area"); // empty: dragged from corner to corner of this one
        QTest::addColumn<bool>("portal");
        QTest::addColumn<uint>("code");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("status");
        const QRect lines(8, 8, 700, 120);
        const QString welcome = u"欢迎使用Qirel的作品..."_s;
        QTest::newRow("area") << lines << true << 0u << Lines.join(u"\r\n"_s) << Succeeded;
        QTest::newRow("dragged") << QRect() << true << 0u << Lines.join(u"\r\n"_s) << Succeeded;
        QTest::newRow("refused") << lines << true << 1u << welcome
                                 << u"截屏请求被拒绝,无法识别屏幕上的文字..."_s;
        QTest::newRow("dragged, refused")
            << QRect() << true << 2u << welcome << u"截屏请求被拒绝,无法识别屏幕上的文字..."_s;
        QTest::newRow("no portal")
            << lines << false << 0u << welcome
            << u"桌面没有提供截屏服务(xdg-desktop-portal),无法识别屏幕上的文字..."_s;
    }

    void window()
    {
        QFETCH(QRect, area);
        QFETCH(bool, portal);
        QFETCH(uint, code);
        QFETCH(QString, source);
        QFETCH(QString, status);
        StandInServer server;
        server.serve("/translate_a/t", CannedReply::page(200, GoogleShortReply));
        QTemporaryDir folder;
        StandInPortal standIn;
        standIn.code = code;
        standIn.path = folder.filePath(u"Screenshot.png"_s);
        standIn.file = Png(Desktop());
        if (portal)
            QVERIFY(standIn.start());
        FormHarness h(server.origin());
        h.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));

        h.form->translateScreenArea(area);
        if (area.isEmpty() && code == 0) {
            QWidget *frozen = nullptr;
            QTRY_VERIFY([&frozen] {
                for (QWidget *widget : QApplication::topLevelWidgets()) {
                    if (widget->objectName() == u"frozenScreen"_s && widget->isVisible())
                        frozen = widget;
                }
                return frozen != nullptr;
            }());
            QVERIFY(QTest::qWaitForWindowExposed(frozen));
            QTest::mousePress(frozen, Qt::LeftButton, {}, QPoint(8, 8));
            QTest::mouseRelease(frozen, Qt::LeftButton, {}, QPoint(708, 128));
        }
        QTRY_COMPARE_WITH_TIMEOUT(h.status(), status, 20000);
        QCOMPARE(h.box("SourceContent"), source);
    }
};

QTEST_MAIN(TestPortal)
#include "tst_portal.moc"
