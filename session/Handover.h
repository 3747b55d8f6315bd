#pragma once

#include "OutsideRequest.h"

enum class Handover
{
    Delivered, // the first Bremo of the session took the request
    NoPrimary, // nobody to hand it to (or no session bus): this process serves it itself
    Failed     // a Bremo owns the name but did not take the request; the reason is logged
};

// Hands the request to the Bremo that owns the application id on the session bus. Needs a
// QCoreApplication only, so a second start never opens the display.
Handover HandOver(const OutsideRequest &request);
