#include "SystemProxy.h"

#include <QDeadlineTimer>
#include <QMutex>

#include <chrono>

namespace GetPostByXmlHttp {

namespace {

// Asking the system hands the query to Qt's libproxy thread and waits for it: about 0.1 ms,
// more than the rest of an exchange adds to a bare request on loopback. An answer serves the
// same query again while the environment's proxy variables stay as they were, and only for a
// few seconds, so that a change in the desktop's settings or the network's proxy script is
// followed as before, a moment later at most.
constexpr std::chrono::seconds answerLife{5};
constexpr qsizetype mostAnswers = 32;

struct Answer
{
    QNetworkProxyQuery query;
    QByteArray environment;
    QList<QNetworkProxy> proxies;
    QDeadlineTimer expiry;
};

struct RecentAnswers
{
    QMutex mutex;
    QList<Answer> answers;
};

RecentAnswers &recentAnswers()
{
    static RecentAnswers recent;
    return recent;
}

// The variables libproxy reads. qgetenv gives a null array for one not set, an empty one for
// one set empty, and libproxy tells those apart too.
QByteArray proxyEnvironment()
{
    static const char *const names[] = {
        "http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "ftp_proxy",
        "FTP_PROXY",  "all_proxy",  "ALL_PROXY",   "no_proxy",    "NO_PROXY",
    };
    QByteArray values;
    for (const char *name : names) {
        const QByteArray value = qgetenv(name);
        values += value.isNull() ? QByteArray("-") : '=' + value + '\0';
    }
    return values;
}

} // namespace

QList<QNetworkProxy> SystemProxyFactory::queryProxy(const QNetworkProxyQuery &query)
{
    const QByteArray environment = proxyEnvironment();
    RecentAnswers &recent = recentAnswers();
    {
        const QMutexLocker lock(&recent.mutex);
        recent.answers.removeIf([](const Answer &answer) { return answer.expiry.hasExpired(); });
        for (const Answer &answer : std::as_const(recent.answers)) {
            if (answer.query == query && answer.environment == environment)
                return answer.proxies;
        }
    }
    const QList<QNetworkProxy> proxies = systemProxyForQuery(query);
    const QMutexLocker lock(&recent.mutex);
    if (recent.answers.size() >= mostAnswers)
        recent.answers.removeFirst();
    recent.answers.append({query, environment, proxies, QDeadlineTimer(answerLife)});
    return proxies;
}

} // namespace GetPostByXmlHttp
