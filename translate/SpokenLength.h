#pragma once

#include <QtGlobal>

// The speech services speak a sentence or two. A longer result is still shown, but is not
// turned into a speech URL: 500 code units escape to at most 4,500 bytes, well inside the
// 8 KiB request line that web servers accept, where a huge reply once became a 94 MB one.
inline constexpr qsizetype MaxSpokenLength = 500;
