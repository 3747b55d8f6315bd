#pragma once

#include <QString>

class QApplication;

// The skin file's path: "/skinh.she" appended to the program folder as plain text, with no
// test for a separator already there (a drive root keeps its own).
QString SkinFilePath(const QString &programFolder);

// Applies the skin file in the program folder as the application's style sheet. A missing or
// unreadable file leaves the default look, says nothing and returns false.
bool ApplySkinFile(QApplication &app, const QString &programFolder);
