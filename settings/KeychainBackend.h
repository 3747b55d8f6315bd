#pragma once

#include "Keyring.h"

// The keyring's calls through QtKeychain: what the bremo-keyring module hands out.
const Keyring::Backend &KeychainBackend();
