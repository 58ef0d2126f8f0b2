#pragma once
#include <gtest/gtest.h>

// The Windows 9x device method exists only in 32-bit processes: Windows 9x runs no
// other kind, and its service takes addresses in 32-bit registers. In the PE32+ test
// build its tests say so, by name, instead of running.
#define VORLIX_ONLY_32_BIT()                                  \
    do {                                                      \
        if (sizeof(void*) != 4) GTEST_SKIP() << "skipped: 32-bit only"; \
    } while (false)
