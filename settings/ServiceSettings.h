#pragma once

#include "KeyedRoad.h"

#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <optional>

// The roads that take the user's own key, as the user set them up.
struct KeyedService
{
    QString id;   // the road's --engine name: "deepl", "google-cloud", "baidu", "youdao-api"
    ApiKey key;   // id: Baidu's appid, Youdao's appKey; secret: the key itself
    QString host; // empty: the service's own
    bool used = true;
};

// Where a pronunciation comes from: the speech host first (the default), or the offline voice
// alone, which sends the text to no host.
enum class VoiceChoice
{
    Web,
    Offline
};

struct ServiceSettings
{
    // The four keyed roads, always all of them, in the order above.
    QList<KeyedService> services;
    // Every road's id in the user's order; empty: the built-in order.
    QStringList order;
    // The user chose a file of their own over the keyring (or there was none).
    bool keysInFile = false;
    VoiceChoice voice = VoiceChoice::Web;

    static ServiceSettings defaults();
    KeyedService *find(QStringView id);
    const KeyedService *find(QStringView id) const;
};

// Whether a road may be asked: used, and its key complete.
bool IsConfigured(const KeyedService &service);

// The host the road asks: the user's, else the service's own (DeepL's depends on the key).
QString HostOf(const KeyedService &service);

// The environment variables that give id's key: "BREMO_BAIDU_APPID", "BREMO_BAIDU_KEY", ...
QStringList KeyVariables(QStringView id);

// BREMO_VOICE's choice: "web" or "offline"; none when it is unset or says neither.
std::optional<VoiceChoice> VoiceFromEnvironment(const QProcessEnvironment &environment);

// settings with the voice, keys and hosts the environment names instead (BREMO_VOICE;
// BREMO_DEEPL_KEY, BREMO_GOOGLE_CLOUD_KEY, BREMO_BAIDU_APPID, BREMO_BAIDU_KEY,
// BREMO_YOUDAO_APP_KEY, BREMO_YOUDAO_APP_SECRET; BREMO_DEEPL_ENDPOINT,
// BREMO_GOOGLE_CLOUD_ENDPOINT, BREMO_BAIDU_ENDPOINT, BREMO_YOUDAO_API_ENDPOINT). A host that is
// no http or https address is left out and its variable's name added to ignored.
ServiceSettings ServicesWithEnvironment(ServiceSettings settings,
                                        const QProcessEnvironment &environment,
                                        QStringList &ignored);
