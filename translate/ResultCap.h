#pragma once

#include <QtGlobal>

// The web services translate at most about 5,000 characters at once, and a translation runs
// to a few times the length of its source. A longer result is no translation but a page gone
// wrong; 50,000 characters keep the result box's worst case (one unbroken run, which its
// layout breaks anywhere in quadratic time) well under a second. A source over it cannot
// come back whole, so it is never sent.
inline constexpr qsizetype MaxResultLength = 50000;
