#pragma once

#include <windows.h>

// The scale a window is drawn at, in dots per inch: its monitor's where the
// system tells each window its own (Windows 10 1607 on), else the system's.
UINT WindowDpi(HWND hwnd);

// Messages of per-monitor scaling, for headers that predate them.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif
