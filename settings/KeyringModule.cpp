// The entry of the bremo-keyring module: QtKeychain, loaded at the first key read or written.
#include "KeychainBackend.h"

extern "C" Q_DECL_EXPORT const Keyring::Backend *BremoKeyringBackend()
{
    static_assert(std::is_same_v<decltype(&BremoKeyringBackend), Keyring::BackendEntry>);
    return &KeychainBackend();
}
