#pragma once

#include "OutsideRequest.h"

#include <QDBusContext>
#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

// The first Bremo of a session: owns the application id on the session bus and serves
// org.freedesktop.Application, turning each call into an OutsideRequest.
class ApplicationService final : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    enum class Claim
    {
        Claimed,
        NoBus, // Bremo works alone, as without a desktop session
        Taken  // another Bremo owns the name: hand the request to it
    };

    explicit ApplicationService(QObject *parent = nullptr);
    ~ApplicationService() override;

    Claim claim();

public Q_SLOTS:
    Q_SCRIPTABLE void Activate(const QVariantMap &platformData);
    // Bremo opens no documents: the window is shown, as by Activate.
    Q_SCRIPTABLE void Open(const QStringList &uris, const QVariantMap &platformData);
    Q_SCRIPTABLE void ActivateAction(const QString &name, const QVariantList &parameter,
                                     const QVariantMap &platformData);

Q_SIGNALS:
    // Emitted from the event loop after the caller got its answer: a translation waits for
    // the network, and the caller must not wait with it.
    void requested(const OutsideRequest &request);

private:
    void post(OutsideRequest request, const QVariantMap &platformData);

    bool m_claimed = false;
};
