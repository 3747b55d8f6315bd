#pragma once

#include <QByteArray>

// The session's Bremo holds a lock file in the user's runtime folder, named after the session
// bus. A start that finds the lock free knows, without the session bus and the libraries and
// round trips it costs before the window, that no Bremo is there to take its request. The bus
// stays the authority: the name is still claimed, and a start that finds the lock held, or
// cannot tell, asks the bus as before. A Bremo that holds the name without the lock (its
// predecessor still held it while quitting) is reached all the same, by the claim that fails.

// The lock for busAddress in runtimeFolder, taken: its descriptor, or -1 when another holds it
// or there is no folder, bus address or file to lock.
int TakeSessionLock(const QByteArray &runtimeFolder, const QByteArray &busAddress);

// True when this process holds the lock of its session (XDG_RUNTIME_DIR,
// DBUS_SESSION_BUS_ADDRESS), taken now or before; it is kept until the process ends.
bool HoldSessionLock();
