#pragma once

#include <QString>
#include <QStringView>

// The web services translate at most about 5,000 characters at once, and a translation runs
// to a few times the length of its source. A longer result is no translation but a page gone
// wrong; 50,000 characters keep the result box's worst case (one unbroken run, which its
// layout breaks anywhere in quadratic time) well under a second.
inline constexpr qsizetype MaxResultLength = 50000;

// result, or the empty text, with one warning naming road, when it is over the cap.
QString CappedResult(QString result, QStringView road);
