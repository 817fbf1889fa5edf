#pragma once

// Reads a window back the way a screen reader does: through the object its
// client area answers to WM_GETOBJECT (AccessibleObjectFromWindow), across
// threads and processes as the system marshals it.
#include <string>

#include "framework/Accessible.h"

namespace testsupport {

struct AccessibleReading {
    bool found = false;  // the window gave an object at all
    std::string name;    // UTF-8
    long role = 0;
    long state = 0;
    std::string defaultAction;  // UTF-8; empty when there is none
};

AccessibleReading ReadAccessible(HWND hwnd);
// Asks the window's object for its default action; true when it agreed.
bool DoDefaultAction(HWND hwnd);

}  // namespace testsupport
