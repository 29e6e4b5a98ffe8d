#pragma once
// Tests of what only POSIX has (signals, permissions, symbolic links, resource limits, a
// preloaded library), or of what the Windows build lacks (PROJ, RTKLIB's Linux programs),
// are skipped on Windows, saying why; elsewhere this does nothing.

#include <gtest/gtest.h>

#ifdef _WIN32
#define MARVOLT_NOT_ON_WINDOWS(reason) GTEST_SKIP() << "not on Windows: " << reason
#else
#define MARVOLT_NOT_ON_WINDOWS(reason) static_cast<void>(0)
#endif
