#pragma once

#include <QNetworkProxyFactory>

namespace GetPostByXmlHttp {

// Follows the system's proxy settings (http_proxy, https_proxy, no_proxy, the desktop's) for
// the manager it is given to, leaving the application-wide factory alone.
class SystemProxyFactory final : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override;
};

} // namespace GetPostByXmlHttp
