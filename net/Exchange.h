#pragma once

#include "HttpText.h"

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <memory>
#include <utility>

class QIODevice;
class QNetworkReply;

namespace GetPostByXmlHttp {

using RawHeaders = QList<std::pair<QByteArray, QByteArray>>;

struct ExchangeEnd
{
    // The whole body arrived and went into the sink. When false, a warning said why, and
    // failure says what kind of failure it was.
    bool complete = false;
    NetFailure failure = NetFailure::Abandoned;
    int status = 0;
    // The service answered from another host or path than the one asked (a redirect followed),
    // or with a redirect that is not followed (a loop, no Location, another scheme: failure
    // Redirected, with the redirect's status).
    bool redirected = false;
    QByteArray contentType;
    // The Content-Encoding that Qt left undone: the body in the sink still carries it.
    QByteArray codingLeftToUs;
    QByteArray method;
    QString url;

    // "METHOD host/path", for a log line: made only when one is written.
    QString request() const;
};

// The one road to the network, for a caller that does not wait: sends method ("GET" or
// "POST") to url with headers in the given order (after Host) and body, and streams the body
// as received into sink. Ends early at the stall time-out, the deadline, the cap or a write
// that sink refuses. finished() comes once, from the event loop; from then on end() holds the
// outcome and nothing of the job's own can change it.
class ExchangeJob final : public QObject
{
    Q_OBJECT

public:
    ExchangeJob(const QByteArray &method, const QString &url, const RawHeaders &headers,
                const QByteArray &body, QIODevice &sink, const HttpOptions &options,
                QObject *parent = nullptr);
    ~ExchangeJob() override;

    bool isFinished() const { return m_finished; }
    const ExchangeEnd &end() const { return m_end; }
    // Drops the request without a word in the log: the one who asked no longer wants it.
    void abandon();

Q_SIGNALS:
    void finished();

private:
    void drain();
    void stop(NetFailure kind, const QString &reason);
    void finish();
    void conclude();

    QIODevice &m_sink;
    HttpOptions m_options;
    bool m_codingAdvertised = false;
    QNetworkAccessManager m_manager;
    std::unique_ptr<QNetworkReply> m_reply;
    QTimer m_deadline;
    qint64 m_received = 0;
    QUrl m_url;
    QString m_failure; // the reason of an end of our own making
    NetFailure m_failureKind = NetFailure::None;
    ExchangeEnd m_end;
    bool m_finished = false;
};

// The same exchange for a caller that waits: returns once it has ended, while the caller's
// events flow. Also ends, empty and quietly, when the wait ends first (context gone,
// application quitting).
ExchangeEnd Exchange(const QByteArray &method, const QString &url, const RawHeaders &headers,
                     const QByteArray &body, QIODevice &sink, const HttpOptions &options);

} // namespace GetPostByXmlHttp
