#pragma once

#include <QRect>
#include <QString>

// What one start of bremo asks of the window: the window itself, a translation of a text, of
// the primary selection, of the clipboard or of the text on the screen, or the services'
// settings. The selection, the clipboard and the screen are read by the window's own process,
// which holds the display.
struct OutsideRequest
{
    enum class Kind
    {
        Show,
        Text,
        Selection,
        Clipboard,
        Screen,
        Settings
    };

    Kind kind = Kind::Show;
    QString text; // Kind::Text only
    QRect area;   // Kind::Screen: the part of the screen recognised
    // Lets the desktop hand focus to the window that was asked for (XDG activation).
    QString activationToken;
    // The launcher's start-up notification on X11 (DESKTOP_STARTUP_ID): the window that
    // serves the request completes it, which ends the busy cursor and carries the time of
    // the launch that a window manager weighs before it lets the window take the focus.
    QString startupId;
};
