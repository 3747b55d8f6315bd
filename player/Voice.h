#pragma once

#include "Playback.h"

#include <QIcon>
#include <QWidget>

class QLabel;
class QSlider;
class QToolButton;

// The pronunciation player: plays the audio at the address last assigned, at once, behind a
// full control bar (play/pause, stop, position, time, volume). It never shows a dialog; an
// address that cannot be played leaves it silent.
class Voice final : public QWidget
{
    Q_OBJECT

public:
    explicit Voice(QWidget *parent = nullptr);

    // Exactly the text last assigned; empty when no media is loaded.
    QString URL() const;
    // Starts playing the address at once; the same address again plays it anew from the
    // start; the empty text stops and unloads.
    void setURL(const QString &url);
    // A pronunciation: its clip, and the offline voice when the clip gives none; URL() is then
    // the clip's address.
    void setSpeech(const Playback::Speech &speech);
    // The clip in hand as MP3 when the offline voice spoke it.
    std::optional<QByteArray> offlineMp3();

    // 0 to 100.
    int volume() const;
    void setVolume(int volume);

Q_SIGNALS:
    // A mouse button was released over the player's own surface, not over one of its controls.
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    // The speech roads of the clip in hand so far, a line each.
    void spoken(const QStringList &report);

protected:
    // The icons are drawn in the colours of the palette the player is shown with: once it is
    // polished, and again whenever its palette or style changes.
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    Playback *player();
    void drawIcons();
    bool isControlAt(QPoint position) const;
    void togglePlayback();
    void applyVolume(int volume);
    void showPlaybackState();
    void showTime();

    QString m_url;
    // Made once per palette: every new icon would add its own scaled pixmaps to Qt's pixmap
    // cache, and the play button changes its icon several times per clip.
    QIcon m_playIcon;
    QIcon m_pauseIcon;
    QToolButton *m_playPause;
    QToolButton *m_stop;
    QSlider *m_position;
    QLabel *m_time;
    QLabel *m_volumeIcon;
    QSlider *m_volume;
    float m_gain = 0;
    // Made at the first clip, out of its module: the sound and media libraries are loaded
    // then, not when the window opens. A child of the widget.
    Playback *m_player = nullptr;
};
