#include "Handover.h"

#include "ApplicationService.h"
#include "NetLog.h"
#include "SessionNames.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QScopeGuard>

namespace {

// A first Bremo answers at once and translates afterwards, even while it waits for a
// service; one that stays silent this long is stuck.
constexpr int AnswerTimeoutMs = 10000;

QDBusMessage CallFor(const OutsideRequest &request, const QString &recipient)
{
    const auto call = [&recipient](const QString &method) {
        QDBusMessage message = QDBusMessage::createMethodCall(recipient, Session::ObjectPath,
                                                              Session::Interface, method);
        // Nothing is started on the bus's behalf: no owner means this process is the first.
        message.setAutoStartService(false);
        return message;
    };
    QVariantMap platformData;
    if (!request.activationToken.isEmpty())
        platformData.insert(QStringLiteral("activation-token"), request.activationToken);
    if (!request.startupId.isEmpty())
        platformData.insert(QStringLiteral("desktop-startup-id"), request.startupId);

    QDBusMessage message;
    switch (request.kind) {
    case OutsideRequest::Kind::Show:
        return call(QStringLiteral("Activate")) << platformData;
    case OutsideRequest::Kind::Text:
        message = call(QStringLiteral("ActivateAction"))
                  << Session::TranslateAction << QVariantList{request.text};
        break;
    case OutsideRequest::Kind::Selection:
        message = call(QStringLiteral("ActivateAction"))
                  << Session::TranslateSelectionAction << QVariantList();
        break;
    case OutsideRequest::Kind::Clipboard:
        message = call(QStringLiteral("ActivateAction"))
                  << Session::TranslateClipboardAction << QVariantList();
        break;
    case OutsideRequest::Kind::Settings:
        message = call(QStringLiteral("ActivateAction"))
                  << Session::SettingsAction << QVariantList();
        break;
    case OutsideRequest::Kind::Screen: {
        const QRect &area = request.area;
        message = call(QStringLiteral("ActivateAction"))
                  << Session::TranslateScreenAction
                  << QVariantList{area.x(), area.y(), area.width(), area.height()};
        break;
    }
    }
    return message << platformData;
}

} // namespace

Handover HandOver(const OutsideRequest &request)
{
    // A connection of its own, closed before the caller goes on: Qt's shared session
    // connection does not survive the QCoreApplication of a start that then opens the window.
    const QString connectionName = QStringLiteral("bremo-handover");
    const auto close = qScopeGuard([&] { QDBusConnection::disconnectFromBus(connectionName); });
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName);
    if (!bus.isConnected())
        return Handover::NoPrimary;
    // The Bremo asked is known by its connection's own name, so that a silence can be told
    // from a quit: a window that gave up the session before it answered (it quit, or was
    // ended while it was stopped) leaves the request to this start.
    const QString owner = bus.interface()->serviceOwner(Session::ApplicationId);
    if (owner.isEmpty())
        return Handover::NoPrimary;
    const QDBusMessage reply = bus.call(CallFor(request, owner), QDBus::Block, AnswerTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return Handover::Delivered;
    if (bus.interface()->serviceOwner(Session::ApplicationId).value() != owner)
        return Handover::NoPrimary;
    const QDBusError error(reply);
    qCWarning(lcNet, "the running Bremo did not take the request: %ls",
              qUtf16Printable(error.message()));
    return Handover::Failed;
}

SessionClaim ClaimOrHandOver(ApplicationService &service, const OutsideRequest &request,
                             Handover (*handOver)(const OutsideRequest &))
{
    // Each round needs another Bremo that claims the name and quits at once; a few such
    // rounds in a row mean something keeps the name busy, which the user should hear of.
    constexpr int Rounds = 3;
    for (int round = 0; round < Rounds; ++round) {
        if (service.claim() != ApplicationService::Claim::Taken)
            return SessionClaim::Serve;
        switch (handOver(request)) {
        case Handover::Delivered:
            return SessionClaim::HandedOver;
        case Handover::Failed:
            return SessionClaim::Failed;
        case Handover::NoPrimary:
            break;
        }
    }
    qCWarning(lcNet, "the session's Bremo kept quitting before it took the request");
    return SessionClaim::Failed;
}
