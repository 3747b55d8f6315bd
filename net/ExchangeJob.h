#pragma once

#include "Exchange.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QTimer>
#include <QUrl>

#include <memory>

class QNetworkReply;

namespace GetPostByXmlHttp {

// The exchange itself, for a caller that does not wait: finished() comes once, from the event
// loop; from then on end() holds the outcome and nothing of the job's own can change it.
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

// Exchange() as this module makes it: the job, waited for in a local event loop.
ExchangeEnd LinkedExchange(const QByteArray &method, const QString &url, const RawHeaders &headers,
                           const QByteArray &body, QIODevice &sink, const HttpOptions &options);

} // namespace GetPostByXmlHttp
