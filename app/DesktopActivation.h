#pragma once

#include "OutsideRequest.h"

class QWidget;

// The window in front of the others, with the keyboard focus that the desktop grants to the
// launch behind request: its XDG activation token on Wayland, its start-up id on X11, which
// the window also completes for the launcher. Either may be empty.
void BringToFront(QWidget &window, const OutsideRequest &request);
