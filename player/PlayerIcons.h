#pragma once

#include <QIcon>
#include <QPalette>

enum class PlayerIcon
{
    Play,
    Pause,
    Stop,
    Volume
};

// The player's icons, drawn in the palette's button text colour. The style's media icons are
// looked up in the desktop's icon theme first, a search through its folders that cost the
// window's start-up more than all its other controls together.
QIcon DrawPlayerIcon(PlayerIcon icon, const QPalette &palette);
