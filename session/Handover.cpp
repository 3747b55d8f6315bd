#include "Handover.h"

#include "ApplicationService.h"
#include "NetLog.h"
#include "SessionNames.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QScopeGuard>

namespace {

// A first Bremo answers at once and translates afterwards, even while it waits for a
// service; one that stays silent this long is stuck.
constexpr int AnswerTimeoutMs = 10000;

QDBusMessage CallFor(const OutsideRequest &request)
{
    const auto call = [](const QString &method) {
        return QDBusMessage::createMethodCall(Session::ApplicationId, Session::ObjectPath,
                                              Session::Interface, method);
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
    QDBusMessage call = CallFor(request);
    // Nothing is started on the bus's behalf: no owner means this process is the first.
    call.setAutoStartService(false);
    const QDBusMessage reply = bus.call(call, QDBus::Block, AnswerTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return Handover::Delivered;
    const QDBusError error(reply);
    if (error.type() == QDBusError::ServiceUnknown ||
        error.name() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
        return Handover::NoPrimary;
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
