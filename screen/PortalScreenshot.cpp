#include "PortalScreenshot.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFile>
#include <QImageReader>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QUrl>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcScreen, "bremo.screen")

namespace {

const QString Service = u"org.freedesktop.portal.Desktop"_s;
const QString Path = u"/org/freedesktop/portal/desktop"_s;
const QString RequestInterface = u"org.freedesktop.portal.Request"_s;

} // namespace

PortalScreenshot::PortalScreenshot(QObject *parent)
    : QObject(parent)
{}

// Listens to the Response of the request object at handle, and no other; none when empty.
void PortalScreenshot::listen(const QString &handle)
{
    if (handle == m_handle)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!m_handle.isEmpty())
        bus.disconnect(Service, m_handle, RequestInterface, u"Response"_s, this,
                       SLOT(response(uint, QVariantMap)));
    m_handle = handle;
    if (!m_handle.isEmpty())
        bus.connect(Service, m_handle, RequestInterface, u"Response"_s, this,
                    SLOT(response(uint, QVariantMap)));
}

void PortalScreenshot::fail(Failure failure)
{
    QMetaObject::invokeMethod(
        this, [this, failure] { Q_EMIT failed(failure); }, Qt::QueuedConnection);
}

void PortalScreenshot::take()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCWarning(lcScreen, "no session bus: the desktop portal cannot be asked for the screen");
        fail(Failure::NoPortal);
        return;
    }
    // The portal names its request object after the caller and this token; listening before
    // the call leaves no gap in which its answer could come unheard.
    const QString token = u"bremo%1"_s.arg(QRandomGenerator::global()->generate());
    listen(u"%1/request/%2/%3"_s.arg(Path, bus.baseService().mid(1).replace(u'.', u'_'), token));
    QDBusMessage call = QDBusMessage::createMethodCall(
        Service, Path, u"org.freedesktop.portal.Screenshot"_s, u"Screenshot"_s);
    call << QString()
         << QVariantMap{{u"handle_token"_s, token}, {u"modal"_s, true}, {u"interactive"_s, false}};
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher *finished) {
                finished->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *finished;
                if (reply.isError()) {
                    qCWarning(lcScreen, "the desktop portal takes no screenshot: %ls",
                              qUtf16Printable(reply.error().message()));
                    Q_EMIT failed(Failure::NoPortal);
                    return;
                }
                // Portals older than the token name the request object otherwise.
                listen(reply.value().path());
            });
}

void PortalScreenshot::response(uint code, const QVariantMap &results)
{
    listen(QString());
    if (code != 0) {
        qCWarning(lcScreen, "the desktop portal refused the screenshot (response %u)", code);
        Q_EMIT failed(Failure::Refused);
        return;
    }
    // The picture is ours to read and then remove: it holds whatever the screen showed.
    const QString file = QUrl(results.value(u"uri"_s).toString()).toLocalFile();
    QImageReader reader(file);
    const QImage desktop = file.isEmpty() ? QImage() : reader.read();
    if (!file.isEmpty())
        QFile::remove(file);
    if (desktop.isNull()) {
        qCWarning(lcScreen, "the desktop portal's screenshot cannot be read: %ls",
                  qUtf16Printable(reader.errorString()));
        Q_EMIT failed(Failure::Unreadable);
        return;
    }
    Q_EMIT taken(desktop);
}
