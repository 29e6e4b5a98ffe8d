#pragma once
// Tests of what only POSIX has (signals, permissions, symbolic links, resource limits, a
// preloaded library) are skipped on Windows, saying why; elsewhere this does nothing.

#include <gtest/gtest.h>

#ifdef _WIN32
#define MARVOLT_POSIX_ONLY(reason) GTEST_SKIP() << "POSIX only: " << reason
#else
#define MARVOLT_POSIX_ONLY(reason) static_cast<void>(0)
#endif
