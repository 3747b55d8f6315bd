#pragma once

#include "OutsideRequest.h"

class Form1;

// Serves in the one window what a start of bremo asked for: the window comes to the front,
// and a text, the primary selection or the clipboard is translated as a click on 翻译 would.
void ServeOutsideRequest(Form1 &window, const OutsideRequest &request);
