// The least a window of this kind can cost: a bare Qt Widgets window of bremo's size, shown
// and painted once. bench/startup.sh compares bremo's start-up with this.
#include "StartupProbe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(498, 637);
    InstallStartupProbe(window);
    window.show();
    return app.exec();
}
