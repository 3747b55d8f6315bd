#include "Skin.h"

#include <QApplication>
#include <QFile>

using namespace Qt::StringLiterals;

QString SkinFilePath(const QString &programFolder)
{
    return programFolder + u"/skinh.she"_s;
}

bool ApplySkinFile(QApplication &app, const QString &programFolder)
{
    QFile file(SkinFilePath(programFolder));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    app.setStyleSheet(QString::fromUtf8(file.readAll()));
    return true;
}
