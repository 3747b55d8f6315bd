#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// The offline engine Apertium: which of its installed modes joins two catalogue languages,
// how it is run, and how its output is read.
namespace Apertium {

// The translation modes among the file names of Apertium's modes folder: the two-part names
// ("eng-spa") of the *.mode files, without variants ("spa-eng_US") or tools ("eng-spa-morph").
QStringList ModesAmong(const QStringList &fileNames);

// The installed mode from one catalogue language to the other: Apertium's three-letter names
// first, then the two-letter ones of older packages. None when no installed mode joins them.
std::optional<QString> ModeFor(const QStringList &modes, QStringView sourceCode,
                               QStringView targetCode);

// The arguments of the apertium program for mode: the text comes on standard input, and
// unknown words come out as they went in, without Apertium's marks.
QStringList Arguments(const QString &mode);

// The text as Apertium reads it (lines ended by LF) and its output as the result box holds
// it (lines separated by CR LF, without the line break that ends the output).
QByteArray Input(QStringView source);
QString ResultOfOutput(const QByteArray &output);

} // namespace Apertium
