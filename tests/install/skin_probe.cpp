// Started by check-install.sh through a symbolic link in bin/, as a menu or a shell starts
// the installed bremo: exits with 0 only when the program folder that start-up uses is the
// real binary's and the skin beside it was applied.
#include "Form1Environment.h"
#include "Skin.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString folder = Form1Environment::standard().programFolder;
    QTextStream(stdout) << folder << Qt::endl;
    const bool skinned = ApplySkinFile(app, folder) && !app.styleSheet().isEmpty();
    return skinned ? 0 : 1;
}
