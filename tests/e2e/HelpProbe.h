#pragma once

#include <windows.h>

#include <functional>

#include "Driver.h"

namespace driver {

// Checks that `press` (a help item chosen, a help button pressed, F1) makes
// the program open its help file at `context`: with the real file beside the
// program the viewer opens; with a probe whose context map lacks `context`
// the program says "Failed to launch help." (for context 0, which Wine's
// viewer opens even unmapped, a probe that maps 0 alone must open instead).
// The help file is taken away again afterwards.
void ExpectHelpAt(const Program& program, DWORD context, const std::function<void()>& press);

}  // namespace driver
