// The floor of a second start: a bare QGuiApplication that opens the display, reaches the
// session bus and exits. bench/outside.sh compares the hand-over of `bremo TEXT` with it.
#include <QDBusConnection>
#include <QGuiApplication>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    return QDBusConnection::sessionBus().isConnected() ? 0 : 1;
}
