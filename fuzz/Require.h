#pragma once

#include <cstdio>
#include <cstdlib>

// A broken invariant aborts, so libFuzzer reports it and keeps the input as a crash file.
inline void Require(bool holds, const char *invariant)
{
    if (holds)
        return;
    std::fprintf(stderr, "invariant broken: %s\n", invariant);
    std::abort();
}
