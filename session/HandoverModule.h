#pragma once

#include "Handover.h"

#include <QString>

// The hand-over as the program makes it: D-Bus and what it links (libdbus, libsystemd,
// libgcrypt) live in the bremo-session module beside the program, loaded only for a request
// that a window serves, so that script mode starts without them.
inline constexpr char SessionModulePath[] = "session/bremo-session";
inline constexpr char HandOverEntryName[] = "BremoHandOver";
using HandOverCall = Handover (*)(const OutsideRequest &request);
using HandOverEntry = HandOverCall (*)();

// HandOver() through the module in programFolder; without the module, nobody to hand to:
// the window then claims the session itself.
Handover HandOverThroughModule(const QString &programFolder, const OutsideRequest &request);
