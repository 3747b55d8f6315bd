#include "ApplicationService.h"

#include "SessionLock.h"
#include "SessionNames.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>

#include <algorithm>

ApplicationService::ApplicationService(QObject *parent)
    : QObject(parent)
{}

ApplicationService::~ApplicationService()
{
    if (!m_claimed)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(Session::ApplicationId);
    bus.unregisterObject(Session::ObjectPath);
}

ApplicationService::Claim ApplicationService::claim()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return Claim::NoBus;
    // The object first, so that a caller who sees the name finds someone to answer.
    if (!bus.registerObject(Session::ObjectPath, this, QDBusConnection::ExportScriptableSlots))
        return Claim::Taken;
    if (!bus.registerService(Session::ApplicationId)) {
        bus.unregisterObject(Session::ObjectPath);
        return Claim::Taken;
    }
    m_claimed = true;
    // Free while the predecessor quits: later starts then ask the bus, and find this one.
    HoldSessionLock();
    return Claim::Claimed;
}

void ApplicationService::Activate(const QVariantMap &platformData)
{
    post({}, platformData);
}

void ApplicationService::Open(const QStringList &, const QVariantMap &platformData)
{
    post({}, platformData);
}

void ApplicationService::ActivateAction(const QString &name, const QVariantList &parameter,
                                        const QVariantMap &platformData)
{
    OutsideRequest request;
    if (name == Session::TranslateAction && parameter.size() == 1 &&
        parameter.front().typeId() == QMetaType::QString) {
        request.kind = OutsideRequest::Kind::Text;
        request.text = parameter.front().toString();
    } else if (name == Session::TranslateSelectionAction && parameter.isEmpty()) {
        request.kind = OutsideRequest::Kind::Selection;
    } else if (name == Session::TranslateClipboardAction && parameter.isEmpty()) {
        request.kind = OutsideRequest::Kind::Clipboard;
    } else if (name == Session::SettingsAction && parameter.isEmpty()) {
        request.kind = OutsideRequest::Kind::Settings;
    } else if (name == Session::TranslateScreenAction && parameter.size() == 4 &&
               std::all_of(parameter.begin(), parameter.end(), [](const QVariant &number) {
                   return number.typeId() == QMetaType::Int;
               })) {
        request.kind = OutsideRequest::Kind::Screen;
        request.area = {parameter[0].toInt(), parameter[1].toInt(), parameter[2].toInt(),
                        parameter[3].toInt()};
    } else {
        sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("no such action: ") + name);
        return;
    }
    post(request, platformData);
}

void ApplicationService::post(OutsideRequest request, const QVariantMap &platformData)
{
    request.activationToken = platformData.value(QStringLiteral("activation-token")).toString();
    request.startupId = platformData.value(QStringLiteral("desktop-startup-id")).toString();
    QMetaObject::invokeMethod(
        this, [this, request] { Q_EMIT requested(request); }, Qt::QueuedConnection);
}
