#pragma once

#include "Endpoints.h"

// The whole program: the command line, then script mode, the hand-over to the session's
// Bremo, or the window. Returns the exit code.
int RunBremo(int &argc, char *argv[], const Endpoints &endpoints);
