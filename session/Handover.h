#pragma once

#include "OutsideRequest.h"

class ApplicationService;

enum class Handover
{
    Delivered, // the first Bremo of the session took the request
    NoPrimary, // nobody to hand it to (or no session bus), or the Bremo asked quit before it
               // answered: this process serves it itself
    Failed     // a Bremo owns the name but did not take the request; the reason is logged
};

// Hands the request to the Bremo that owns the application id on the session bus. Needs a
// QCoreApplication only, so a second start never opens the display.
Handover HandOver(const OutsideRequest &request);

// For a start that found no Bremo when it looked: this process serves request itself (and
// every later one), or another Bremo that claimed the session in between took it, or the
// reason why neither happened is logged.
enum class SessionClaim
{
    Serve,
    HandedOver,
    Failed
};

// The Bremo that won the race for the name may quit before it takes the request; the name is
// then free to claim again. handOver is HandOver but in tests.
SessionClaim ClaimOrHandOver(ApplicationService &service, const OutsideRequest &request,
                             Handover (*handOver)(const OutsideRequest &) = HandOver);
