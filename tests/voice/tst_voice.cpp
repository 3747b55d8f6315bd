#include "LanguageCatalogue.h"
#include "Mp3Encoding.h"
#include "OfflineVoice.h"
#include "ProgramRun.h"
#include "VoiceTable.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// What espeak-ng itself says, run as the voice runs it.
QString Espeak(const QStringList &arguments, const QByteArray &input = {})
{
    return QString::fromUtf8(RunProgram(u"espeak-ng"_s, arguments, input, {}).output);
}

} // namespace

// The offline voice with the real espeak-ng.
class TestVoice final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyVoiceInstalled()
    {
        QStringList installed;
        for (const QString &line : Espeak({u"--voices"_s}).split(u'\n').mid(1))
            installed.append(line.simplified().section(u' ', 1, 1));
        for (const QString &code : LanguageCatalogue::build().codes) {
            const std::optional<QString> voice = EspeakVoiceFor(code);
            QVERIFY2(!voice || installed.contains(*voice), qPrintable(code));
        }
    }

    // A voice that falls back to English for its own language's script is worse than none.
    void voice_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("sample");
        QTest::addColumn<bool>("voiced"); // must have a voice
        QTest::newRow("Chinese") << u"zh-CN"_s << u"你好"_s << true;
        QTest::newRow("Japanese in kanji") << u"ja"_s << u"日本語"_s << false;
        QTest::newRow("Korean") << u"ko"_s << u"안녕하세요"_s << true;
    }

    void voice()
    {
        QFETCH(QString, code);
        QFETCH(QString, sample);
        QFETCH(bool, voiced);
        const std::optional<QString> voice = EspeakVoiceFor(code);
        QVERIFY(voice || !voiced);
        if (voice)
            QVERIFY(!Espeak({u"-v"_s, *voice, u"-q"_s, u"-x"_s, u"--stdin"_s, u"-b"_s, u"1"_s},
                            sample.toUtf8())
                         .contains(u"(en)"_s));
    }

    void speak_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("path"); // empty: as it is
        QTest::addColumn<QString>("line");
        QTest::newRow("English") << u"en"_s << QString() << u"离线语音：成功"_s;
        QTest::newRow("no voice") << u"tl"_s << QString() << u"离线语音：没有这种语言的语音"_s;
        QTest::newRow("not installed")
            << u"en"_s << u"/nonexistent"_s << u"离线语音：未安装 espeak-ng"_s;
    }

    // What is spoken is as long as the text, and its MP3 is made as soon as the stream ends (with
    // a time-out of an hour, an MP3 that waited for it would never come). The MP3, read by
    // another decoder, is the listening test's (tst_player offlineVoice), which saves it as the
    // user does.
    void speak()
    {
        QFETCH(QString, code);
        QFETCH(QString, path);
        QFETCH(QString, line);
        const QByteArray ownPath = qgetenv("PATH");
        if (!path.isEmpty())
            qputenv("PATH", path.toLocal8Bit());
        const OfflineSpeech speech = SpeakOffline(u"Hello world, this is a test."_s, code, {});
        qputenv("PATH", ownPath);
        QCOMPARE(OfflineVoiceLine(speech.outcome), line);
        if (speech.wav.isEmpty())
            return;
        const qint64 wavMs = (speech.wav.size() - 44) * 1000 / (22050 * 2);
        QVERIFY2(wavMs > 1000 && wavMs < 4000, qPrintable(QString::number(wavMs)));
        QVERIFY(Mp3OfWav(speech.wav, std::chrono::hours(1)));
    }

    void mp3OfNoSound_data()
    {
        QTest::addColumn<QByteArray>("wav");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not a WAV")
            << QByteArray("ID3 and then some") << u"not a WAV that can be read"_s;
        QTest::newRow("nothing") << QByteArray() << u"not a WAV that can be read"_s;
        QTest::newRow("a header alone")
            << SpeakOffline(u"Hello"_s, u"en", {}).wav.left(44) << u"no sound in the WAV"_s;
    }

    void mp3OfNoSound()
    {
        QFETCH(QByteArray, wav);
        QFETCH(QString, reason);
        QTest::ignoreMessage(QtWarningMsg, qPrintable(u"no MP3: "_s + reason));
        QVERIFY(!Mp3OfWav(wav));
    }
};

QTEST_GUILESS_MAIN(TestVoice)
#include "tst_voice.moc"
