#include "ServiceStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString DeepLKey = u"deepl-test-key:fx"_s;
const QString BaiduAppId = u"2015063000000001"_s;
const QString BaiduKey = u"baidu-test-secret"_s;

ServiceSettings withKeys()
{
    ServiceSettings settings = ServiceSettings::defaults();
    settings.find(u"deepl")->key.secret = DeepLKey;
    settings.find(u"baidu")->key = {BaiduAppId, BaiduKey};
    settings.find(u"youdao-api")->host = u"http://127.0.0.1:9"_s;
    settings.order = {u"baidu"_s, u"google"_s};
    return settings;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What secret-tool, the keyring's own client, finds under an entry; nothing when it finds none.
std::optional<QString> secretToolLookup(const QString &entry)
{
    QProcess tool;
    tool.start(u"secret-tool"_s, {u"lookup"_s, u"server"_s, u"bremo"_s, u"user"_s, entry});
    if (!tool.waitForFinished() || tool.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(tool.readAllStandardOutput());
}

// What is read back by a store that never saw the settings being saved.
ServiceSettings loaded(const QString &folder)
{
    ServiceSettings settings;
    if (ServiceStore(folder).load(settings).outcome != StoreOutcome::Done)
        qFatal("the settings could not be read back");
    return settings;
}

QString folder()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME") + u"/bremo"_s;
}

} // namespace

class TestSettings final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void environment()
    {
        QProcessEnvironment environment;
        environment.insert(u"BREMO_BAIDU_KEY"_s, u"k"_s);
        environment.insert(u"BREMO_GOOGLE_CLOUD_KEY"_s, u"g"_s);
        environment.insert(u"BREMO_GOOGLE_CLOUD_ENDPOINT"_s, u"https://mirror.example/t/"_s);
        environment.insert(u"BREMO_YOUDAO_APP_KEY"_s, u"a"_s);
        environment.insert(u"BREMO_YOUDAO_APP_SECRET"_s, u"s"_s);
        environment.insert(u"BREMO_YOUDAO_API_ENDPOINT"_s, u"openapi.youdao.com"_s);
        environment.insert(u"BREMO_DEEPL_ENDPOINT"_s, u"ftp://mirror.example"_s);
        ServiceSettings saved = ServiceSettings::defaults();
        saved.find(u"google-cloud")->used = false;
        saved.find(u"deepl")->key.secret = u"d:fx"_s;
        QStringList ignored;
        const ServiceSettings settings = ServicesWithEnvironment(saved, environment, ignored);
        QStringList seen;
        for (const KeyedService &service : settings.services)
            seen << service.id + u' ' + HostOf(service) + u' ' +
                        (IsConfigured(service) ? u"ready"_s : u"-"_s);
        QCOMPARE(seen.join(u", "_s) + u" | "_s + ignored.join(u' '),
                 u"deepl https://api-free.deepl.com ready, "
                 u"google-cloud https://mirror.example/t ready, "
                 u"baidu https://fanyi-api.baidu.com -, youdao-api https://openapi.youdao.com ready"
                 u" | BREMO_DEEPL_ENDPOINT BREMO_YOUDAO_API_ENDPOINT"_s);
    }

    void keyring()
    {
        const ServiceStore store(folder());
        QCOMPARE(store.save(withKeys()).outcome, StoreOutcome::Done);
        QCOMPARE(secretToolLookup(u"deepl"_s), DeepLKey);
        const QByteArray conf = fileBytes(store.settingsPath());
        QVERIFY(conf.contains(BaiduAppId.toUtf8()));
        QVERIFY(!conf.contains("test-"));
        QVERIFY(!QFile::exists(store.keyFilePath()));

        ServiceSettings settings = loaded(folder());
        QCOMPARE(settings.find(u"baidu")->key.secret, BaiduKey);
        QCOMPARE(settings.find(u"youdao-api")->host, u"http://127.0.0.1:9"_s);
        QCOMPARE(settings.order, withKeys().order);

        // A key cleared in the settings leaves the keyring too.
        settings.find(u"deepl")->key.secret.clear();
        QCOMPARE(store.save(settings).outcome, StoreOutcome::Done);
        QCOMPARE(secretToolLookup(u"deepl"_s), std::nullopt);
        QCOMPARE(loaded(folder()).find(u"baidu")->key.secret, BaiduKey);
    }

    void noKeyring()
    {
        const ServiceStore store(folder());
        ServiceSettings settings = withKeys();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^keyring: "_s));
        QCOMPARE(store.save(settings).outcome, StoreOutcome::NoKeyring);
        QVERIFY(!QFile::exists(store.settingsPath()));
        QVERIFY(!QFile::exists(store.keyFilePath()));

        // The user chose the file.
        settings.keysInFile = true;
        QCOMPARE(store.save(settings).outcome, StoreOutcome::Done);
        QCOMPARE(QFileInfo(store.keyFilePath()).permissions(),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                     QFileDevice::WriteUser);
        QCOMPARE(QFileInfo(QFileInfo(store.keyFilePath()).path()).permissions(),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                     QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
        QVERIFY(!fileBytes(store.settingsPath()).contains("test-"));
        QCOMPARE(loaded(folder()).find(u"deepl")->key.secret, DeepLKey);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
