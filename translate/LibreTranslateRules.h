#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// A LibreTranslate server of the user's own, by its documented API. The server URL is a
// base without a trailing slash.
namespace LibreTranslate {

QString RequestUrl(QStringView server);
// The JSON body: q, source, target, format "text", and api_key (empty when none is set).
QByteArray RequestBody(QStringView source, QStringView sourceCode, QStringView targetCode,
                       QStringView apiKey);
// LibreTranslate names a few languages otherwise than the catalogue: Chinese "zh", Hebrew "he",
// Norwegian Bokmål "nb". "auto" stays as it is.
QString CodeFor(QStringView catalogueCode);
// translatedText of the reply; empty for an error reply ({"error": ...}) or anything else.
QString ResultOfReply(QStringView reply);
// The server's own words of an error reply ("Invalid API key"), on one line; empty for any
// other reply.
QString RefusalOfReply(QStringView reply);

} // namespace LibreTranslate
