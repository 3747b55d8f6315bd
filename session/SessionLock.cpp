#include "SessionLock.h"

#include <QCryptographicHash>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

int TakeSessionLock(const QByteArray &runtimeFolder, const QByteArray &busAddress)
{
    if (runtimeFolder.isEmpty() || busAddress.isEmpty())
        return -1;
    // A private session bus (a test's, a nested desktop's) has a Bremo of its own.
    const QByteArray bus =
        QCryptographicHash::hash(busAddress, QCryptographicHash::Sha256).toHex().left(16);
    const QByteArray path =
        QByteArray(runtimeFolder).append("/io.github.bremo.Bremo-").append(bus).append(".lock");
    const int descriptor =
        ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0)
        return -1;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

bool HoldSessionLock()
{
    // Never closed: the kernel lets go of the lock when the process ends, however it ends.
    static int held = -1;
    if (held < 0)
        held = TakeSessionLock(qgetenv("XDG_RUNTIME_DIR"), qgetenv("DBUS_SESSION_BUS_ADDRESS"));
    return held >= 0;
}
