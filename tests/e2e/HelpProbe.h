#pragma once

#include <windows.h>

#include <functional>

#include "Driver.h"

namespace driver {

// Checks that `press` (a help item chosen, a help button pressed, F1) makes
// the program open its help file at `context`: with the real file beside the
// program the viewer opens; with a probe whose context map lacks `context`
// the program says "Failed to launch help."; and the viewer was asked for
// the default topic for context 0, which Windows' viewer may refuse as a
// number, and for the number itself otherwise. The help file is taken away
// again afterwards.
void ExpectHelpAt(const Program& program, DWORD context, const std::function<void()>& press);

}  // namespace driver
