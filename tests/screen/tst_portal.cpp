// The screen of a Wayland desktop through org.freedesktop.portal.Screenshot, played here by a
// stand-in portal on the private session bus, with the window on a headless weston
// (on-weston.sh).
#include "FormHarness.h"
#include "ScreenText.h"
#include "StandInServer.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;
using namespace TestSupport;

namespace {

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

} // namespace

class TestPortal final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The window on Wayland: an area of the screen, or one dragged on the frozen screen, comes
    // from the portal and is translated; a refusal, a missing portal and a file without a
    // picture are said as such. The portal's file is removed once read.
    void window_data()
    {
        QTest::addColumn<QRect>("area"); // empty: dragged from corner to corner of this one
        QTest::addColumn<bool>("portal");
        QTest::addColumn<uint>("code");
        QTest::addColumn<QByteArray>("file"); // empty: a picture of the desktop
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("status");
        const QRect lines(8, 8, 700, 120);
        const QString welcome = u"欢迎使用Qirel的作品..."_s;
        const QString refused = u"截屏请求被拒绝,无法识别屏幕上的文字..."_s;
        const QString all = ScreenLines.join(u"\r\n"_s);
        QTest::newRow("area") << lines << true << 0u << QByteArray() << all << Succeeded;
        QTest::newRow("dragged") << QRect() << true << 0u << QByteArray() << all << Succeeded;
        QTest::newRow("refused") << lines << true << 1u << QByteArray() << welcome << refused;
        QTest::newRow("dragged, refused")
            << QRect() << true << 2u << QByteArray() << welcome << refused;
        QTest::newRow("no picture in the file")
            << lines << true << 0u << QByteArray("white") << welcome << u"无法截取屏幕画面..."_s;
        QTest::newRow("no portal")
            << lines << false << 0u << QByteArray() << welcome
            << u"桌面没有提供截屏服务(xdg-desktop-portal),无法识别屏幕上的文字..."_s;
    }

    void window()
    {
        QFETCH(QRect, area);
        QFETCH(bool, portal);
        QFETCH(uint, code);
        QFETCH(QByteArray, file);
        QFETCH(QString, source);
        QFETCH(QString, status);
        StandInServer server;
        server.serve("/translate_a/t", CannedReply::page(200, GoogleShortReply));
        QTemporaryDir folder;
        StandInPortal standIn;
        standIn.code = code;
        standIn.path = folder.filePath(u"Screenshot.png"_s);
        standIn.file =
            file.isEmpty()
                ? Png(ScreenPicture(QGuiApplication::primaryScreen()->virtualGeometry().size()))
                : file;
        if (portal)
            QVERIFY(standIn.start());
        FormHarness h(server.origin());
        h.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));

        h.form->translateScreenArea(area);
        if (area.isEmpty() && code == 0) {
            QTRY_VERIFY(FrozenScreen());
            QWidget *frozen = FrozenScreen();
            QVERIFY(QTest::qWaitForWindowExposed(frozen));
            QTest::mousePress(frozen, Qt::LeftButton, {}, QPoint(8, 8));
            QTest::mouseRelease(frozen, Qt::LeftButton, {}, QPoint(708, 128));
        }
        QTRY_COMPARE_WITH_TIMEOUT(h.status(), status, 20000);
        QCOMPARE(h.box("SourceContent"), source);
        if (portal && code == 0)
            QVERIFY(!QFile::exists(standIn.path)); // read, then removed
    }
};

QTEST_MAIN(TestPortal)
#include "tst_portal.moc"
