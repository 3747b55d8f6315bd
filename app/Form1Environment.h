#pragma once

#include "Endpoints.h"
#include "PictureText.h"
#include "PlatformServices.h"

#include <QString>

#include <chrono>

// What a Form1 is built against. The program uses standard(); tests point the fields
// elsewhere.
struct Form1Environment
{
    QString programFolder; // where the skin file is looked up
    Endpoints endpoints = Endpoints::builtIn();
    std::chrono::milliseconds requestTimeout{30000};
    PlatformServices platform = PlatformServices::desktop();
    RecogniseFunction recognise = RecogniseInModule; // the text on the screen

    static Form1Environment standard();
};
