#pragma once

#include <QByteArray>
#include <QLoggingCategory>
#include <QString>

// Why an exchange failed, for a maintainer: warnings show on stderr by default;
// QT_LOGGING_RULES="bremo.net.debug=true" adds the waits that ended because the window went.
Q_DECLARE_LOGGING_CATEGORY(lcNet)

namespace GetPostByXmlHttp {

// "METHOD host/path" of a request, for a log line. The query and the body are left out:
// they carry the text the user is translating.
QString DescribeRequest(const QByteArray &method, const QString &url);

// The one warning of a failed exchange: "METHOD host/path: reason".
void WarnFailure(const QString &request, const QString &reason);

} // namespace GetPostByXmlHttp
