#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>
#include <utility>

// What the official APIs, the roads that take the user's own key, have in common: the request
// as it goes out and the answer as it came back.

// A base without a trailing slash, the text and the catalogue's codes; "auto" as the source
// leaves the language to the service.
struct KeyedQuery
{
    QString host;
    QString text;
    QString sourceCode;
    QString targetCode;
};

// The key's two halves. Only id (Baidu's appid, Youdao's appKey) ever travels; services with
// one key keep it in secret, and it goes in a header, never in a URL.
struct ApiKey
{
    QString id;
    QString secret;
};

struct KeyedRequest
{
    QString url;
    QList<std::pair<QByteArray, QByteArray>> headers;
    QByteArray body;
};

// The translation, or the service's refusal in its own words; all empty for an answer that
// is neither.
struct KeyedReply
{
    QString translation;
    QString code;
    QString message;
};

// Why a keyed road sends nothing for a pair of languages.
inline constexpr QStringView UnsupportedLanguage = u"不支持这种语言";

// code's name in table: entries separated by spaces, each the catalogue's code alone where the
// service uses it too, or "ours=theirs". Nothing for a code the table lacks.
std::optional<QString> CodeIn(QStringView table, QStringView code);

// name=value pairs, the values percent-encoded as UTF-8.
QByteArray FormBody(const QList<std::pair<QByteArray, QString>> &fields);
