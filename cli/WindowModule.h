#pragma once

#include "Endpoints.h"
#include "OutsideRequest.h"

#include <QString>

// The window lives in a module of its own (window/bremo-window in the program folder; a
// folder of its own keeps Debian's packaging from taking it for a public library) that is loaded
// only when a window is opened: script mode and a second start then never load the widget,
// media and sound libraries, which cost more than a whole request.
inline constexpr char WindowModulePath[] = "window/bremo-window";
inline constexpr char WindowEntryName[] = "BremoRunWindow";
using WindowEntry = int (*)(int &argc, char *argv[], const OutsideRequest &request,
                            const Endpoints &endpoints);

// Runs the window until it closes; returns the exit code.
int RunWindowModule(const QString &programFolder, int &argc, char *argv[],
                    const OutsideRequest &request, const Endpoints &endpoints);
