#pragma once

#include <QStringList>

// The families of the list that some installed font answers to, by any of its names (a
// localized one too), in the list's order; the whole list when none of them is installed.
QStringList InstalledFamilies(const QStringList &families);
