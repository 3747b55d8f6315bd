// bremo's own start-up, as app/main.cpp does it, with the probe that bench/startup.sh reads:
// the program itself carries no measuring code.
#include "Form1.h"
#include "StartupProbe.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bremo"));
    Form1 window;
    InstallStartupProbe(window);
    window.show();
    return app.exec();
}
