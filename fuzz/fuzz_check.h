#pragma once
// Shared by the fuzz entry points: a property that fails stops the run with a
// message, so libFuzzer keeps the input that broke it.

#include <cstdio>
#include <cstdlib>

#define QUOREL_FUZZ_CHECK(cond)                                                                    \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #cond);       \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
