#include "StandInServer.h"
#include "Voice.h"

#include <QFile>
#include <QMediaPlayer>
#include <QSignalSpy>
#include <QTest>

using namespace TestSupport;
using namespace Qt::StringLiterals;

namespace {

// 0.99 s of silence.
QByteArray silence()
{
    QFile file(QFINDTESTDATA(u"../data/silence.mp3"_s));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestVoice final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameUrlAgainPlaysAgain()
    {
        StandInServer server;
        server.serve("/a.mp3", CannedReply::page(200, silence(), "audio/mpeg"));
        Voice voice;
        QMediaPlayer *player = voice.mediaPlayer();
        voice.setURL(server.url(u"/a.mp3"));
        QTRY_COMPARE(player->mediaStatus(), QMediaPlayer::EndOfMedia);
        QSignalSpy status(player, &QMediaPlayer::mediaStatusChanged);

        voice.setURL(server.url(u"/a.mp3"));
        QCOMPARE(player->playbackState(), QMediaPlayer::PlayingState);
        QTRY_COMPARE(server.requests().size(), 2);
        QTRY_COMPARE(player->mediaStatus(), QMediaPlayer::EndOfMedia);
        QVERIFY(status.size() > 1);
    }

    // A failed fetch shows no dialog and leaves a player that fetches the same address anew.
    void failedAddressLeavesItReady()
    {
        StandInServer server;
        server.setHandler("/a.mp3", [&](const RecordedRequest &) {
            return server.requests().size() == 1 ? CannedReply::page(404, "gone")
                                                 : CannedReply::page(200, silence(), "audio/mpeg");
        });
        Voice voice;
        QMediaPlayer *failed = voice.mediaPlayer();
        voice.setURL(server.url(u"/a.mp3"));
        QTRY_VERIFY(voice.mediaPlayer() != failed);
        QVERIFY(voice.mediaPlayer()->source().isEmpty());

        voice.setURL(server.url(u"/a.mp3"));
        QTRY_COMPARE(voice.mediaPlayer()->mediaStatus(), QMediaPlayer::EndOfMedia);
        QCOMPARE(voice.URL(), server.url(u"/a.mp3"));
    }

    void emptyUrlUnloads()
    {
        StandInServer server;
        server.serve("/a.mp3", CannedReply::page(200, silence(), "audio/mpeg"));
        Voice voice;
        voice.setURL(server.url(u"/a.mp3"));
        QTRY_COMPARE(server.requests().size(), 1);
        voice.setURL(QString());
        QCOMPARE(voice.URL(), QString());
        QCOMPARE(voice.mediaPlayer()->playbackState(), QMediaPlayer::StoppedState);
        QCOMPARE(voice.mediaPlayer()->mediaStatus(), QMediaPlayer::NoMedia);
    }
};

QTEST_MAIN(TestVoice)
#include "tst_voice.moc"
