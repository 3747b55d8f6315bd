#pragma once

#include <QString>

class QPlainTextEdit;

// The text of a box with its lines separated by CR LF, the form every command and every
// length limit works with; no character is folded (a no-break space stays one).
QString BoxText(const QPlainTextEdit &box);
