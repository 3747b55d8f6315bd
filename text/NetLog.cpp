#include "NetLog.h"

#include <QUrl>

Q_LOGGING_CATEGORY(lcNet, "bremo.net")

namespace GetPostByXmlHttp {

QString DescribeRequest(const QByteArray &method, const QString &url)
{
    const QUrl parsed = QUrl::fromEncoded(url.toUtf8());
    return QString::fromLatin1(method) + u' ' +
           parsed
               .adjusted(QUrl::RemoveScheme | QUrl::RemoveUserInfo | QUrl::RemoveQuery |
                         QUrl::RemoveFragment)
               .toString(QUrl::FullyEncoded)
               .mid(2);
}

void WarnFailure(const QString &request, const QString &reason)
{
    qCWarning(lcNet, "%ls: %ls", qUtf16Printable(request), qUtf16Printable(reason));
}

} // namespace GetPostByXmlHttp
