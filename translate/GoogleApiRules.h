#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Google's JSON road (client=gtx), the road that still answers busy clients when the web
// page's roads refuse them. Endpoints are bases without a trailing slash.
namespace GoogleApi {

struct Request
{
    QString url;
    // A text too long for the request line goes in a form body instead, the query without it.
    std::optional<QString> formBody;
};

Request RequestFor(QStringView endpoint, QStringView source, QStringView sourceCode,
                   QStringView targetCode);

// Youdao detects the languages itself; on this road the source is left to Google and the
// target is what Youdao's automatic mode picks: English for a text with Chinese in it,
// Chinese otherwise.
QString YoudaoTargetCode(QStringView source);

// The sentences' translations joined; empty for anything but a JSON reply with at least one.
QString ResultOfReply(QStringView reply);

} // namespace GoogleApi
