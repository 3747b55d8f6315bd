#include "ClipPlayer.h"

#include "ClipDecoder.h"
#include "ClipOutput.h"
#include "ClipWords.h"
#include "ExchangeJob.h"
#include "Mp3Encoding.h"
#include "NetLog.h"
#include "OfflineVoice.h"
#include "VoiceOutcome.h"

#include <QPointer>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A spoken clip is a sentence or two of MP3 at 32 to 64 kbit/s: tens of kilobytes. One MiB
// is minutes of speech. It is held decoded (about 44 KB a second) while it is in hand, and five
// minutes of that is 13 MB: a MiB of MP3 at a very low rate, or of a format made for silence,
// would decode to far more.
constexpr qsizetype MaxClipBytes = 1024 * 1024;
constexpr qint64 MaxClipMs = 5 * 60 * 1000;
constexpr int TickMs = 50;

} // namespace

Playback *MakeClipPlayer(QObject *parent)
{
    return new ClipPlayer(parent);
}

ClipPlayer::ClipPlayer(QObject *parent)
    : QObject(parent)
    , m_decoder(new ClipDecoder(MaxClipMs, this))
    , m_format(ClipDecoder::pcmFormat())
{
    m_ticker.setInterval(TickMs);
    connect(&m_ticker, &QTimer::timeout, this, &ClipPlayer::tick);
    connect(m_decoder, &ClipDecoder::finished, this, &ClipPlayer::decoded);
    connect(m_decoder, &ClipDecoder::failed, this, [this](const QString &reason) {
        fail(reason, reason == u"decoded audio over the cap"_s
                         ? u"音频过长"_s
                         : QString::fromUtf16(NotPlayableWords));
    });
}

ClipPlayer::~ClipPlayer()
{
    // The children let go but not yet deleted go with the QObject; none reads our buffers
    // any more.
    drop();
}

template<typename T> void ClipPlayer::retire(T *&object)
{
    if (!object)
        return;
    disconnect(object, nullptr, this, nullptr);
    object->deleteLater();
    object = nullptr;
}

void ClipPlayer::drop()
{
    closeOutput();
    if (m_fetch)
        m_fetch->abandon();
    retire(m_fetch);
    m_decoder->stop();
    m_encoded.close();
    m_encoded.setData(QByteArray());
    m_pcm.clear();
    m_wav.clear();
    m_offsetMs = 0;
    m_phase = Phase::Empty;
}

void ClipPlayer::load(const QString &url)
{
    speak({url, {}, {}, {}});
}

void ClipPlayer::speak(const Speech &speech)
{
    drop();
    ++m_clip;
    m_speech = speech;
    m_report.clear();
    if (speech.url.isEmpty() && speech.text.isEmpty()) {
        setState(State::Stopped);
    } else if (speech.url.isEmpty()) {
        m_phase = Phase::Decoding;
        QMetaObject::invokeMethod(
            this, [this, clip = m_clip] { speakOffline(clip); }, Qt::QueuedConnection);
        setState(State::Playing);
    } else {
        m_phase = Phase::Fetching;
        m_encoded.open(QIODevice::WriteOnly);
        GetPostByXmlHttp::HttpOptions options;
        options.maxBodyBytes = MaxClipBytes;
        m_fetch =
            new GetPostByXmlHttp::ExchangeJob("GET", speech.url, {}, {}, m_encoded, options, this);
        connect(m_fetch, &GetPostByXmlHttp::ExchangeJob::finished, this, &ClipPlayer::fetched);
        setState(State::Playing);
    }
    Q_EMIT stateChanged();
    Q_EMIT timeChanged();
}

void ClipPlayer::fetched()
{
    const GetPostByXmlHttp::ExchangeEnd end = m_fetch->end();
    retire(m_fetch);
    if (!end.complete) // the exchange said why
        return fail(QString(), WhyNoClip(end));
    if (end.status >= 400)
        return fail(u"HTTP status "_s + QString::number(end.status), WhyNoClip(end));
    m_encoded.close();
    m_phase = Phase::Decoding;
    m_decoder->start(m_encoded.data());
    m_encoded.setData(QByteArray());
}

void ClipPlayer::decoded(const QByteArray &pcm)
{
    if (!m_speech.host.isEmpty() && m_wav.isEmpty())
        report(m_speech.host + u"：成功"_s);
    m_pcm = pcm;
    m_phase = Phase::Ready;
    if (m_state == State::Playing)
        startOutput(m_offsetMs);
    Q_EMIT stateChanged();
    Q_EMIT timeChanged();
}

void ClipPlayer::fail(const QString &reason, const QString &words)
{
    if (!reason.isEmpty())
        GetPostByXmlHttp::WarnFailure(GetPostByXmlHttp::DescribeRequest("GET", m_speech.url),
                                      reason);
    if (!m_speech.host.isEmpty())
        report(m_speech.host + u"："_s + words);
    if (!m_speech.text.isEmpty()) {
        // Rendered from the event loop: the failure may come from a timer's slot, where a
        // nested loop would stop the other timers until it returns.
        drop();
        m_phase = Phase::Decoding;
        QMetaObject::invokeMethod(
            this, [this, clip = m_clip] { speakOffline(clip); }, Qt::QueuedConnection);
        return;
    }
    drop();
    m_phase = Phase::Failed;
    setState(State::Stopped);
    Q_EMIT stateChanged();
    Q_EMIT timeChanged();
}

void ClipPlayer::speakOffline(quint64 clip)
{
    if (clip != m_clip)
        return;
    const QPointer<ClipPlayer> alive(this);
    OfflineVoiceSetup setup;
    setup.context = this;
    const OfflineSpeech speech = SpeakOffline(m_speech.text, m_speech.languageCode, setup);
    if (!alive || speech.abandoned || clip != m_clip)
        return;
    report(OfflineVoiceLine(speech.outcome));
    if (speech.wav.isEmpty()) {
        m_speech.text.clear();
        m_speech.host.clear();
        return fail(QString(), QString());
    }
    m_wav = speech.wav;
    decoded(speech.wav.sliced(OfflineWavHeaderBytes));
}

void ClipPlayer::report(const QString &line)
{
    m_report.append(line);
    Q_EMIT reported();
}

std::optional<QByteArray> ClipPlayer::offlineMp3() const
{
    if (!isReady() || m_wav.isEmpty())
        return std::nullopt;
    return Mp3OfWav(m_wav);
}

qint64 ClipPlayer::durationMs() const
{
    return isReady() ? m_format.durationForBytes(m_pcm.size()) / 1000 : 0;
}

qint64 ClipPlayer::positionMs() const
{
    qint64 run = 0;
    if (m_output == Output::Sink)
        run = m_sink->playedMs();
    else if (m_output == Output::SilentClock)
        run = m_silentRunMs + (m_silentClock.isValid() ? m_silentClock.elapsed() : 0);
    return std::min(m_offsetMs + run, durationMs());
}

void ClipPlayer::play()
{
    if (!isLoaded() || m_state == State::Playing)
        return;
    setState(State::Playing);
    if (!isReady())
        return;
    if (m_output == Output::Sink)
        m_sink->resume();
    else if (m_output == Output::SilentClock)
        m_silentClock.start();
    else
        startOutput(m_offsetMs);
    m_ticker.start();
}

void ClipPlayer::pause()
{
    if (m_state != State::Playing)
        return;
    m_ticker.stop();
    if (m_output == Output::Sink) {
        m_sink->pause();
    } else if (m_output == Output::SilentClock && m_silentClock.isValid()) {
        m_silentRunMs += m_silentClock.elapsed();
        m_silentClock.invalidate();
    }
    setState(State::Paused);
    Q_EMIT timeChanged();
}

void ClipPlayer::stop()
{
    closeOutput();
    m_offsetMs = 0;
    setState(State::Stopped);
    Q_EMIT timeChanged();
}

void ClipPlayer::setPositionMs(qint64 position)
{
    if (!isReady())
        return;
    position = std::clamp<qint64>(position, 0, durationMs());
    if (m_state == State::Playing) {
        startOutput(position);
    } else {
        closeOutput();
        m_offsetMs = position;
    }
    Q_EMIT timeChanged();
}

void ClipPlayer::setVolume(float volume)
{
    m_volume = volume;
    if (m_sink)
        m_sink->setVolume(volume);
}

void ClipPlayer::watch(QObject *context, std::function<void()> stateChanged,
                       std::function<void()> timeChanged, std::function<void()> reported)
{
    connect(this, &ClipPlayer::stateChanged, context, std::move(stateChanged));
    connect(this, &ClipPlayer::timeChanged, context, std::move(timeChanged));
    connect(this, &ClipPlayer::reported, context, std::move(reported));
}

void ClipPlayer::startOutput(qint64 from)
{
    closeOutput();
    m_offsetMs = from;
    const int frame = m_format.bytesPerFrame();
    m_ticker.start();
    m_sink =
        ClipOutput::start(m_pcm, m_format.bytesForDuration(from * 1000) / frame * frame, m_volume);
    if (m_sink)
        m_output = Output::Sink;
    else
        runSilentClock();
}

void ClipPlayer::runSilentClock()
{
    m_output = Output::SilentClock;
    m_silentRunMs = 0;
    m_silentClock.start();
}

void ClipPlayer::closeOutput()
{
    m_ticker.stop();
    m_sink.reset();
    m_output = Output::None;
    m_silentRunMs = 0;
    m_silentClock.invalidate();
}

void ClipPlayer::tick()
{
    // The sound output says when the clip has been heard to its end; a server that goes away
    // mid-clip leaves the rest of it to the silent clock.
    switch (m_sink ? m_sink->poll() : ClipOutput::Event::None) {
    case ClipOutput::Event::Ended:
        return stop();
    case ClipOutput::Event::Failed:
        m_offsetMs = positionMs();
        m_sink.reset();
        runSilentClock();
        break;
    case ClipOutput::Event::None:
        break;
    }
    if (m_output == Output::Sink || positionMs() < durationMs())
        Q_EMIT timeChanged();
    else
        stop();
}

void ClipPlayer::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    Q_EMIT stateChanged();
}
