#pragma once

#include "Endpoints.h"
#include "OutsideRequest.h"

// The first Bremo of the session: claims it on the session bus, opens the window and serves
// request, and every later one, until the window closes. Returns the exit code.
int RunWindow(int &argc, char *argv[], const OutsideRequest &request, const Endpoints &endpoints);
