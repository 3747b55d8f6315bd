#include "ClipPlayer.h"
#include "FormHarness.h"
#include "KeychainBackend.h"
#include "PlaybackModule.h"
#include "ServiceSettingsDialog.h"
#include "StandInServer.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <algorithm>

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
    ServiceStore(folder).load(settings);
    return settings;
}

QString folder()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME") + u"/bremo"_s;
}

template<typename Control> Control *control(QWidget *dialog, const QString &accessibleName)
{
    for (Control *found : dialog->findChildren<Control *>()) {
        if (found->accessibleName() == accessibleName)
            return found;
    }
    qFatal("no control named %s", qPrintable(accessibleName));
}

// The program's window, shown, as the user opens the dialog over it.
struct Window final : FormHarness
{
    Window()
    {
        form->show();
        if (!QTest::qWaitForWindowActive(form.get()))
            qFatal("the window was not activated");
    }

    ServiceSettingsDialog *openedByRightClick() const
    {
        auto *panel = child<QLabel>("Panel2");
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(2, 2),
                                panel->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(panel, &click);
        return form->findChild<ServiceSettingsDialog *>();
    }
};

void save(QWidget *dialog)
{
    control<QPushButton>(dialog, u"保存"_s)->click();
}

} // namespace

class TestSettings final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        Keyring::UseBackend(KeychainBackend());
        UsePlaybackMaker(MakeClipPlayer);
    }

    // Every function starts without settings; the keyring keeps what earlier ones saved.
    void init() { QDir(folder()).removeRecursively(); }

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
        environment.insert(u"BREMO_VOICE"_s, u"web"_s);
        ServiceSettings saved = ServiceSettings::defaults();
        saved.voice = VoiceChoice::Offline;
        saved.find(u"google-cloud")->used = false;
        saved.find(u"deepl")->key.secret = u"d:fx"_s;
        QStringList ignored;
        const ServiceSettings settings = ServicesWithEnvironment(saved, environment, ignored);
        QStringList seen;
        for (const KeyedService &service : settings.services)
            seen << service.id + u' ' + HostOf(service) + u' ' +
                        (IsConfigured(service) ? u"ready"_s : u"-"_s);
        QVERIFY(settings.voice == VoiceChoice::Web);
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
        QVERIFY(secretToolLookup(u"deepl"_s) == DeepLKey);
        const QByteArray conf = fileBytes(store.settingsPath());
        QVERIFY(conf.contains(BaiduAppId.toUtf8()) && !conf.contains("test-"));
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

    void withKeyring()
    {
        TestSupport::StandInServer server;
        server.serve("/v2/translate",
                     TestSupport::CannedReply::page(200, R"({"translations":[{"text":"Hello"}]})"));
        qunsetenv("http_proxy");
        Window window;
        QTest::keyClick(window.form.get(), Qt::Key_Comma, Qt::ControlModifier);
        QPointer<ServiceSettingsDialog> dialog = window.form->findChild<ServiceSettingsDialog *>();
        QVERIFY(dialog && QTest::qWaitForWindowExposed(dialog));
        QList<QRect> places; // every control named, each in a place of its own
        for (QWidget *widget : dialog->findChildren<QWidget *>()) {
            const bool isControl = qobject_cast<QAbstractButton *>(widget) ||
                                   qobject_cast<QAbstractSpinBox *>(widget) ||
                                   qobject_cast<QComboBox *>(widget) ||
                                   (qobject_cast<QLineEdit *>(widget) &&
                                    !qobject_cast<QAbstractSpinBox *>(widget->parent()));
            if (!isControl || !widget->isVisibleTo(dialog))
                continue;
            const QRect place(widget->mapTo(dialog.data(), QPoint()), widget->size());
            QVERIFY2(
                !widget->accessibleName().isEmpty() &&
                    std::none_of(places.cbegin(), places.cend(),
                                 [&place](const QRect &other) { return other.intersects(place); }),
                qPrintable(widget->accessibleName()));
            places << place;
        }
        control<QLineEdit>(dialog, u"DeepL 密钥"_s)->setText(DeepLKey);
        control<QLineEdit>(dialog, u"DeepL 主机"_s)->setText(server.origin());
        control<QSpinBox>(dialog, u"DeepL 顺序"_s)->setValue(1);
        control<QComboBox>(dialog, u"语音"_s)->setCurrentIndex(1); // the offline voice only
        save(dialog);
        QTRY_VERIFY(!dialog);

        // The window's next translation asks DeepL before the engine's own host, and the offline
        // voice speaks it, a BREMO_VOICE that is neither web nor offline ignored: the speech host,
        // never asked, has no line in the tip.
        qputenv("BREMO_VOICE", "loud");
        window.setRequest(u"google zh-CN en 你好"_s);
        window.translate();
        window.translate(); // Google speaks from the second click on
        QTRY_COMPARE_WITH_TIMEOUT(window.child<QLabel>("Panel2")->toolTip(),
                                  u"DeepL 接口：成功\n离线语音：成功"_s, 10000);

        // Opened again, it reads what was saved from the keyring.
        dialog = window.openedByRightClick();
        QVERIFY(dialog && control<QLineEdit>(dialog, u"DeepL 密钥"_s)->text() == DeepLKey);
        QCOMPARE(control<QSpinBox>(dialog, u"DeepL 顺序"_s)->value(), 1);
        QCOMPARE(control<QSpinBox>(dialog, u"所选引擎 顺序"_s)->value(), 2);

        // 检查 asks each road with a key as entered, in the words of bremo --check.
        server.serve("/v2/translate", TestSupport::CannedReply::page(403, R"({"message":"No"})"));
        control<QPushButton>(dialog, u"检查"_s)->click();
        QTRY_COMPARE(control<QLabel>(dialog, u"DeepL 检查结果"_s)->text(),
                     u"HTTP 403（拒绝访问）“No”"_s);
        QCOMPARE(control<QLabel>(dialog, u"有道智云 检查结果"_s)->text(), u"未设置密钥"_s);
        QVERIFY(server.requests().constLast().headers.contains(
            {"Authorization", "DeepL-Auth-Key " + DeepLKey.toUtf8()}));
    }

    void withoutKeyring()
    {
        Window window;
        QPointer<ServiceSettingsDialog> dialog = window.openedByRightClick();
        QVERIFY(dialog);
        auto *inFile = control<QCheckBox>(dialog, u"密钥保存在文件中"_s);
        auto *notice = control<QLabel>(dialog, u"提示"_s);
        QVERIFY(!inFile->isHidden());
        control<QLineEdit>(dialog, u"DeepL 密钥"_s)->setText(DeepLKey);
        control<QLineEdit>(dialog, u"百度通用翻译 主机"_s)->setText(u"ftp://mirror.example"_s);
        save(dialog);
        QCOMPARE(notice->text(), u"百度通用翻译 主机不是 http 或 https 地址。"_s);

        control<QLineEdit>(dialog, u"百度通用翻译 主机"_s)->clear();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^keyring: "_s));
        save(dialog);
        QVERIFY(dialog && notice->text().startsWith(u"没有密钥环应答"_s));
        const ServiceStore store(folder());
        QVERIFY(!QFile::exists(store.settingsPath()) && !QFile::exists(store.keyFilePath()));

        // The user chose the file.
        inFile->setChecked(true);
        save(dialog);
        QTRY_VERIFY(!dialog);
        // 0600 in 0700, in QFileDevice's bits (owner and user alike).
        QCOMPARE(QFileInfo(store.keyFilePath()).permissions(), QFileDevice::Permissions(0x6600));
        QCOMPARE(QFileInfo(QFileInfo(store.keyFilePath()).path()).permissions(),
                 QFileDevice::Permissions(0x7700));
        QVERIFY(!fileBytes(store.settingsPath()).contains("test-"));
        QVERIFY(loaded(folder()).find(u"deepl")->key.secret == DeepLKey);
        QCOMPARE(loaded(folder()).order, QStringList()); // no place was moved
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
