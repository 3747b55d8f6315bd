#pragma once

#include <QIcon>

// The program's window icon: one drawn image for each of 16, 24, 32 and 48 pixels.
QIcon BremoIcon();
