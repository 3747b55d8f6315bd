#pragma once

#include <QImage>
#include <QObject>
#include <QVariantMap>

// A picture of the whole desktop from the desktop portal (org.freedesktop.portal.Screenshot),
// the only way a Wayland program may see the screen. The portal may ask the user first.
class PortalScreenshot final : public QObject
{
    Q_OBJECT

public:
    enum class Failure
    {
        Refused,   // the user or the desktop said no
        NoPortal,  // no portal on the session bus, or one without screenshots
        Unreadable // the file that the portal named held no picture
    };
    Q_ENUM(Failure)

    explicit PortalScreenshot(QObject *parent = nullptr);

    // Asks once; taken or failed follows, from the event loop.
    void take();

Q_SIGNALS:
    void taken(const QImage &desktop);
    void failed(PortalScreenshot::Failure failure);

private Q_SLOTS:
    // The Response signal of the portal's request object.
    void response(uint code, const QVariantMap &results);

private:
    void listen(const QString &handle);
    void fail(Failure failure);

    QString m_handle;
};
