#include "LanguageCatalogue.h"
#include "Mp3Encoding.h"
#include "OfflineVoice.h"
#include "ProgramRun.h"
#include "VoiceTable.h"

#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// What espeak-ng itself says, run as the voice runs it.
QString Espeak(const QStringList &arguments, const QByteArray &input = {})
{
    return QString::fromUtf8(RunProgram(u"espeak-ng"_s, arguments, input, {}).output);
}

} // namespace

// The offline voice with the real espeak-ng (and soxi, which reads MP3 with a decoder of its
// own).
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
        QTest::newRow("Hebrew") << u"iw"_s << u"שלום"_s << true;
        QTest::newRow("Hindi") << u"hi"_s << u"नमस्ते"_s << true;
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
        QTest::addColumn<bool>("withEspeak");
        QTest::addColumn<QString>("line");
        QTest::newRow("English") << u"en"_s << true << u"离线语音：成功"_s;
        QTest::newRow("no voice") << u"tl"_s << true << u"离线语音：没有这种语言的语音"_s;
        QTest::newRow("not installed") << u"en"_s << false << u"离线语音：未安装 espeak-ng"_s;
    }

    // What is spoken is as long as the text, and saved as an MP3 that another decoder reads
    // with that length.
    void speak()
    {
        QFETCH(QString, code);
        QFETCH(bool, withEspeak);
        QFETCH(QString, line);
        const QByteArray path = qgetenv("PATH");
        const QTemporaryDir empty;
        if (!withEspeak)
            qputenv("PATH", empty.path().toLocal8Bit());
        const OfflineSpeech speech = SpeakOffline(u"Hello world, this is a test."_s, code, {});
        qputenv("PATH", path);
        QCOMPARE(OfflineVoiceLine(speech.outcome), line);
        if (speech.wav.isEmpty())
            return;
        const qint64 wavMs = (speech.wav.size() - 44) * 1000 / (22050 * 2);
        QVERIFY2(wavMs > 1000 && wavMs < 4000, qPrintable(QString::number(wavMs)));
        const std::optional<QByteArray> mp3 = Mp3OfWav(speech.wav);
        QVERIFY(mp3);
        QTemporaryFile file(QDir::tempPath() + u"/XXXXXX.mp3"_s);
        QVERIFY(file.open());
        file.write(*mp3);
        file.close();
        const auto soxi = [&](const QString &option) {
            return QString::fromUtf8(
                       RunProgram(u"soxi"_s, {option, file.fileName()}, {}, {}).output)
                .trimmed();
        };
        QCOMPARE(soxi(u"-t"_s), u"mp3"_s);
        const qint64 mp3Ms = qRound64(soxi(u"-D"_s).toDouble() * 1000);
        QVERIFY2(qAbs(mp3Ms - wavMs) <= wavMs / 10, qPrintable(QString::number(mp3Ms)));
    }

    void mp3OfNoWav()
    {
        QTest::ignoreMessage(QtWarningMsg, "no MP3: not a WAV that can be read");
        QVERIFY(!Mp3OfWav("ID3 and then some"));
    }
};

QTEST_GUILESS_MAIN(TestVoice)
#include "tst_voice.moc"
