#include "FileDownloader.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSaveFile>

#include <memory>

QtFileDownloader::QtFileDownloader(std::chrono::milliseconds stallTimeout)
    : m_stallTimeout(stallTimeout)
{}

bool QtFileDownloader::download(const QString &url, const QString &filePath)
{
    // Written beside the target and renamed over it only once complete.
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;

    QNetworkAccessManager manager;
    manager.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkRequest request(QUrl::fromEncoded(url.toUtf8()));
    request.setTransferTimeout(int(m_stallTimeout.count()));
    const std::unique_ptr<QNetworkReply> reply(manager.get(request));

    qint64 received = 0;
    bool writeFailed = false;
    auto drain = [&] {
        const QByteArray chunk = reply->readAll();
        received += chunk.size();
        if (file.write(chunk) != chunk.size()) {
            writeFailed = true;
            reply->abort();
        }
    };
    QObject::connect(reply.get(), &QNetworkReply::readyRead, drain);
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!reply->isFinished()) {
        // The application is quitting: leave the target alone.
        reply->abort();
        file.cancelWriting();
        return false;
    }
    drain();

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool encoded = reply->hasRawHeader("Content-Encoding");
    const qint64 declared = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    const bool cutShort = !encoded &&
                          reply->header(QNetworkRequest::ContentLengthHeader).isValid() &&
                          received != declared;
    if (writeFailed || reply->error() != QNetworkReply::NoError || status >= 400 || cutShort) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
