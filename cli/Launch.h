#pragma once

#include "Endpoints.h"

// The whole program: the command line, then script mode, the roads' check, the hand-over to
// the session's Bremo, or the window, with the services at builtIn unless the environment
// names others. Returns the exit code.
int RunBremo(int &argc, char *argv[], const Endpoints &builtIn);
