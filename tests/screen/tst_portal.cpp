// The screenshot of a Wayland desktop through org.freedesktop.portal.Screenshot, played here
// by a stand-in portal on the private session bus (in-session.sh): the request object's
// Response, the file it names, read and then removed; a refusal; no portal at all.
#include "PortalScreenshot.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

// The portal's Screenshot method on a bus connection of its own, answering each call with
// code and a picture file at uri.
class StandInPortal final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")

public:
    uint code = 0;
    QString uri;
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
        // The answer comes after the call's reply, as the user takes a while to agree.
        QMetaObject::invokeMethod(
            this,
            [this, handle] {
                QDBusMessage response = QDBusMessage::createSignal(
                    handle, u"org.freedesktop.portal.Request"_s, u"Response"_s);
                response << code << QVariantMap{{u"uri"_s, uri}};
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
    void screenshot_data()
    {
        QTest::addColumn<bool>("portal");
        QTest::addColumn<uint>("code");
        QTest::addColumn<QByteArray>("file"); // "PNG": a picture
        QTest::addColumn<int>("failure");     // -1: taken
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
        const QString path = folder.filePath(u"Screenshot.png"_s);
        QImage desktop(64, 48, QImage::Format_RGB32);
        desktop.fill(Qt::darkCyan);
        if (file == "PNG")
            QVERIFY(desktop.save(path));
        else if (!file.isEmpty())
            QVERIFY(QFile(path).open(QIODevice::WriteOnly));
        StandInPortal standIn;
        standIn.code = code;
        standIn.uri = QUrl::fromLocalFile(path).toString();
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
        QCOMPARE(QFile::exists(path), false); // read, then removed
    }
};

QTEST_MAIN(TestPortal)
#include "tst_portal.moc"
