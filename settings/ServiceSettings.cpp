#include "ServiceSettings.h"

#include "DeepLRules.h"
#include "Endpoints.h"

using namespace Qt::StringLiterals;

namespace {

struct ServiceFacts
{
    QStringView id;
    QStringView builtInHost; // empty: it depends on the key
    QStringView idVariable;  // empty: the key is one piece
    QStringView secretVariable;
    QStringView hostVariable;
};

constexpr ServiceFacts Facts[] = {
    {u"deepl", {}, {}, u"BREMO_DEEPL_KEY", u"BREMO_DEEPL_ENDPOINT"},
    {u"google-cloud",
     u"https://translation.googleapis.com",
     {},
     u"BREMO_GOOGLE_CLOUD_KEY",
     u"BREMO_GOOGLE_CLOUD_ENDPOINT"},
    {u"baidu", u"https://fanyi-api.baidu.com", u"BREMO_BAIDU_APPID", u"BREMO_BAIDU_KEY",
     u"BREMO_BAIDU_ENDPOINT"},
    {u"youdao-api", u"https://openapi.youdao.com", u"BREMO_YOUDAO_APP_KEY",
     u"BREMO_YOUDAO_APP_SECRET", u"BREMO_YOUDAO_API_ENDPOINT"},
};

const ServiceFacts &factsOf(QStringView id)
{
    for (const ServiceFacts &facts : Facts) {
        if (facts.id == id)
            return facts;
    }
    Q_UNREACHABLE();
}

} // namespace

ServiceSettings ServiceSettings::defaults()
{
    ServiceSettings settings;
    for (const ServiceFacts &facts : Facts)
        settings.services.append({facts.id.toString(), {}, {}, true});
    return settings;
}

KeyedService *ServiceSettings::find(QStringView id)
{
    for (KeyedService &service : services) {
        if (service.id == id)
            return &service;
    }
    return nullptr;
}

const KeyedService *ServiceSettings::find(QStringView id) const
{
    return const_cast<ServiceSettings *>(this)->find(id);
}

bool IsConfigured(const KeyedService &service)
{
    const bool twoPieces = !factsOf(service.id).idVariable.isEmpty();
    return service.used && !service.key.secret.isEmpty() &&
           (!twoPieces || !service.key.id.isEmpty());
}

QString HostOf(const KeyedService &service)
{
    if (!service.host.isEmpty())
        return service.host;
    const QStringView builtIn = factsOf(service.id).builtInHost;
    return builtIn.isEmpty() ? DeepL::HostForKey(service.key.secret) : builtIn.toString();
}

QStringList KeyVariables(QStringView id)
{
    const ServiceFacts &facts = factsOf(id);
    QStringList names{facts.secretVariable.toString()};
    if (!facts.idVariable.isEmpty())
        names.prepend(facts.idVariable.toString());
    return names;
}

std::optional<VoiceChoice> VoiceFromEnvironment(const QProcessEnvironment &environment)
{
    const QString value = environment.value(u"BREMO_VOICE"_s);
    if (value == u"web")
        return VoiceChoice::Web;
    if (value == u"offline")
        return VoiceChoice::Offline;
    return std::nullopt;
}

ServiceSettings ServicesWithEnvironment(ServiceSettings settings,
                                        const QProcessEnvironment &environment,
                                        QStringList &ignored)
{
    settings.voice = VoiceFromEnvironment(environment).value_or(settings.voice);
    for (KeyedService &service : settings.services) {
        const ServiceFacts &facts = factsOf(service.id);
        const auto value = [&environment](QStringView name) {
            return name.isEmpty() ? QString() : environment.value(name.toString());
        };
        if (const QString id = value(facts.idVariable); !id.isEmpty())
            service.key.id = id;
        // A key given for a script's run is meant to be used.
        if (const QString secret = value(facts.secretVariable); !secret.isEmpty()) {
            service.key.secret = secret;
            service.used = true;
        }
        const QString host = value(facts.hostVariable);
        if (host.isEmpty())
            continue;
        if (const std::optional<QString> base = WebBase(host))
            service.host = *base;
        else
            ignored.append(facts.hostVariable.toString());
    }
    return settings;
}
