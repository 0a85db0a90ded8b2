// Shared by the fuzz targets: a broken property must end the process, so
// libFuzzer keeps the input as a crash artifact instead of running on.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond)                                                                                     \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            std::fprintf(stderr, "%s:%d: property violated: %s\n", __FILE__, __LINE__, #cond);               \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)
