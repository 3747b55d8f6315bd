#pragma once

#include "Endpoints.h"

// bremo --check, inside a QCoreApplication: every road asked once with one short word, all at
// once and within 15 s, then one line each on standard output in a fixed order (road, host,
// "ok" or why not, milliseconds). Exit code 0 when
// both of the window's engines, Google and Youdao, have a web road that answers (an official
// API with the user's key counts for both), 1 when one has none; LibreTranslate and Apertium
// are listed, not counted.
int RunRoadCheck(const Endpoints &endpoints);
