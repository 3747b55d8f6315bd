#include "Voice.h"

#include "PlaybackModule.h"
#include "PlayerIcons.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QStyleOption>
#include <QToolButton>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr int DefaultVolume = 50;

QString FormatTime(qint64 seconds)
{
    return u"%1:%2"_s.arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QToolButton *MakeButton(QWidget *parent, const QString &name, const QString &toolTip)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setToolTip(toolTip);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QSlider *MakeSlider(QWidget *parent, const QString &name)
{
    auto *slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(name);
    slider->setFocusPolicy(Qt::NoFocus);
    return slider;
}

} // namespace

Voice::Voice(QWidget *parent)
    : QWidget(parent)
    , m_playPause(MakeButton(this, u"voicePlayPause"_s, u"播放"_s))
    , m_stop(MakeButton(this, u"voiceStop"_s, u"停止"_s))
    , m_position(MakeSlider(this, u"voicePosition"_s))
    , m_time(new QLabel(this))
    , m_volumeIcon(new QLabel(this))
    , m_volume(MakeSlider(this, u"voiceVolume"_s))
{
    // First in the window's tab order; its own controls stay out of the way of the keyboard.
    setFocusPolicy(Qt::TabFocus);

    m_position->setEnabled(false);
    m_time->setObjectName(u"voiceTime"_s);
    m_time->setAlignment(Qt::AlignCenter);
    m_time->setMinimumWidth(m_time->fontMetrics().horizontalAdvance(u"00:00 / 00:00"_s));
    m_volumeIcon->setObjectName(u"voiceVolumeIcon"_s);
    m_volume->setRange(0, 100);
    m_volume->setValue(DefaultVolume);
    m_volume->setToolTip(u"音量"_s);
    m_volume->setFixedWidth(72);
    // A screen reader says what each part is; the tool tips alone are not read out.
    m_playPause->setAccessibleName(u"播放/暂停"_s);
    m_stop->setAccessibleName(u"停止"_s);
    m_position->setAccessibleName(u"播放进度"_s);
    m_time->setAccessibleName(u"播放时间"_s);
    m_volume->setAccessibleName(u"音量"_s);

    auto *bar = new QHBoxLayout(this);
    bar->setContentsMargins(6, 4, 8, 4);
    bar->setSpacing(4);
    bar->addWidget(m_playPause);
    bar->addWidget(m_stop);
    bar->addSpacing(4);
    bar->addWidget(m_position, 1);
    bar->addWidget(m_time);
    bar->addSpacing(4);
    bar->addWidget(m_volumeIcon);
    bar->addWidget(m_volume);

    applyVolume(m_volume->value());
    showPlaybackState();
    showTime();

    connect(m_playPause, &QToolButton::clicked, this, &Voice::togglePlayback);
    connect(m_volume, &QSlider::valueChanged, this, &Voice::applyVolume);
}

Playback *Voice::player()
{
    if (m_player)
        return m_player;
    const PlaybackMaker make = LoadPlaybackMaker();
    if (!make)
        return nullptr;
    m_player = make(this);
    m_player->setVolume(m_gain);
    m_player->watch(
        this, [this] { showPlaybackState(); }, [this] { showTime(); },
        [this] { Q_EMIT spoken(m_player->speechReport()); });
    connect(m_stop, &QToolButton::clicked, this, [this] { m_player->stop(); });
    connect(m_position, &QSlider::sliderMoved, this,
            [this](int position) { m_player->setPositionMs(position); });
    return m_player;
}

void Voice::drawIcons()
{
    m_playIcon = DrawPlayerIcon(PlayerIcon::Play, palette());
    m_pauseIcon = DrawPlayerIcon(PlayerIcon::Pause, palette());
    m_stop->setIcon(DrawPlayerIcon(PlayerIcon::Stop, palette()));
    m_volumeIcon->setPixmap(DrawPlayerIcon(PlayerIcon::Volume, palette()).pixmap(16, 16));
}

QString Voice::URL() const
{
    return m_url;
}

void Voice::setURL(const QString &url)
{
    m_url = url;
    if (Playback *playback = m_player || !url.isEmpty() ? player() : nullptr)
        playback->load(url);
}

void Voice::setSpeech(const Playback::Speech &speech)
{
    m_url = speech.url;
    if (Playback *playback = player())
        playback->speak(speech);
}

std::optional<QByteArray> Voice::offlineMp3()
{
    return m_player ? m_player->offlineMp3() : std::nullopt;
}

int Voice::volume() const
{
    return m_volume->value();
}

void Voice::setVolume(int volume)
{
    m_volume->setValue(std::clamp(volume, 0, 100));
}

void Voice::paintEvent(QPaintEvent *)
{
    // A plain QWidget subclass paints no style-sheet background or border on its own.
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

void Voice::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void Voice::mouseReleaseEvent(QMouseEvent *event)
{
    // Buttons and sliders pass on the releases they do not use (a right click on the play
    // button, say); those are not releases over the blank surface.
    const QPoint position = event->position().toPoint();
    if (isControlAt(position)) {
        event->ignore();
        return;
    }
    event->accept();
    Q_EMIT mouseUp(event->button(), event->modifiers(), position);
}

void Voice::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        togglePlayback();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool Voice::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::Polish) {
        drawIcons();
        showPlaybackState();
    }
    return handled;
}

void Voice::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // Until it is polished, the player's palette is not yet the one it is shown with.
    const bool look =
        event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange;
    if (look && testAttribute(Qt::WA_WState_Polished)) {
        drawIcons();
        showPlaybackState();
    }
}

bool Voice::isControlAt(QPoint position) const
{
    const QWidget *child = childAt(position);
    return child == m_playPause || child == m_stop || child == m_position || child == m_volume;
}

void Voice::togglePlayback()
{
    if (!m_player)
        return;
    if (m_player->state() == Playback::State::Playing)
        m_player->pause();
    else
        m_player->play();
}

// The 0..100 scale is a perceptual one, as a volume control's should be: it is read as a
// logarithmic position and converted to the linear gain a sound output takes, so the steps of
// the slider sound even. 0 is silent, 100 is full gain, 50 is a gain of 0.15 (about -16 dB);
// a linear mapping would crowd all audible change into the bottom few steps. The curve is Qt
// Multimedia's logarithmic scale, -ln(1 - position) / ln(100), worked out here so that the
// window need not load that library before its first clip.
void Voice::applyVolume(int volume)
{
    const double position = volume / 100.0;
    m_gain = position < 1 ? float(-std::log(1 - position) / std::log(100.0)) : 1.0f;
    if (m_player)
        m_player->setVolume(m_gain);
}

void Voice::showPlaybackState()
{
    const bool playing = m_player && m_player->state() == Playback::State::Playing;
    m_playPause->setIcon(playing ? m_pauseIcon : m_playIcon);
    m_playPause->setToolTip(playing ? u"暂停"_s : u"播放"_s);
    const bool loaded = m_player && m_player->isLoaded();
    m_playPause->setEnabled(loaded);
    m_stop->setEnabled(loaded);
    m_position->setEnabled(m_player && m_player->isReady());
}

void Voice::showTime()
{
    const qint64 duration = m_player ? m_player->durationMs() : 0;
    const qint64 position = m_player ? m_player->positionMs() : 0;
    if (!m_position->isSliderDown()) {
        m_position->setRange(0, int(duration));
        m_position->setValue(int(std::min(position, duration)));
    }
    // The length is known once the clip has arrived and is decoded; until then the label says
    // so instead of claiming "0:00". It is rounded, so that a clip of 0.9 s does not read as
    // "0:00" long either.
    const bool lengthKnown = duration > 0 || !m_player || !m_player->isLoaded();
    m_time->setText(FormatTime(position / 1000) + u" / "_s +
                    (lengthKnown ? FormatTime((duration + 500) / 1000) : u"-:--"_s));
}
