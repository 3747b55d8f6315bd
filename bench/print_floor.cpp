// The floor of script mode: a bare QCoreApplication that makes the one request of
// `bremo --print` (the short road's GET, through the system's proxy as bremo goes), prints
// the body and exits. bench/outside.sh compares `bremo --print` with it.
#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QUrl>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    QNetworkAccessManager manager;
    QNetworkReply *reply = manager.get(QNetworkRequest(QUrl::fromEncoded(argv[1])));
    QObject::connect(reply, &QNetworkReply::finished, &app, [reply] {
        const QByteArray body = reply->readAll();
        std::fwrite(body.constData(), 1, size_t(body.size()), stdout);
        QCoreApplication::exit(reply->error() == QNetworkReply::NoError ? 0 : 1);
    });
    return app.exec();
}
