#pragma once

#include "OutsideRequest.h"

class Form1;

// When the window may read the primary selection: at any time (X11), or only while it has
// the keyboard focus (Wayland).
enum class SelectionAccess
{
    Anytime,
    WhenFocused
};

SelectionAccess PlatformSelectionAccess();

// Serves in the one window what a start of bremo asked for: the window comes to the front,
// and a text, the primary selection or the clipboard is translated as a click on 翻译 would.
void ServeOutsideRequest(Form1 &window, const OutsideRequest &request,
                         SelectionAccess access = PlatformSelectionAccess());
