// The least a window of this kind can cost: a bare Qt Widgets window of bremo's size that shows
// one line of Chinese, so that the CJK font is paid for as bremo pays for it, shown and painted
// once. bench/startup.sh compares bremo's start-up with this.
#include "StartupProbe.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(498, 637);
    QLabel line(u"多国语言在线互译工具"_s, &window);
    line.move(16, 16);
    InstallStartupProbe(window);
    window.show();
    return app.exec();
}
