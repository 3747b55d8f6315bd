#include "Form1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bremo"));
    QApplication::setApplicationVersion(QStringLiteral("3.0"));
    // Lets a Wayland desktop match the window to the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("bremo"));
    Form1 window;
    window.show();
    return app.exec();
}
