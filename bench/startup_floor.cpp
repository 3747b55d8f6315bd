// The least a window of this kind can cost: a bare Qt Widgets window that holds a media
// player with its audio output, as bremo's window does. bench/startup.sh compares bremo's
// start-up with this.
#include "StartupProbe.h"

#include <QApplication>
#include <QAudioOutput>
#include <QMediaPlayer>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    QMediaPlayer player(&window);
    QAudioOutput audioOutput(&window);
    player.setAudioOutput(&audioOutput);
    InstallStartupProbe(window);
    window.show();
    return app.exec();
}
