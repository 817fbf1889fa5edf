#pragma once

#include <windows.h>

#include "framework/Handles.h"

// The scale a window is drawn at, in dots per inch: its monitor's where the
// system tells each window its own (Windows 10 1607 on), else the system's.
// For no window (nullptr), the system's.
UINT WindowDpi(HWND hwnd);

// A system metric (SM_CXICON, SM_CXSMICON, SM_CXCURSOR...) as it is at
// `dpi`: the icon and cursor sizes Windows itself uses there. Systems before
// Windows 10 1607 have one scale only, the system's, and answer for it.
int MetricForDpi(int index, UINT dpi);

// An icon resource drawn at the size `index` gives at `dpi` (SM_CXICON or
// SM_CXSMICON): the file's image of that size where it has one, not the
// shared 32-pixel icon LoadIcon gives.
IconHandle LoadIconAt(HINSTANCE instance, UINT id, int index, UINT dpi);

// Whether the dialog manager rescales a dialog itself (Windows 10 1703 on):
// on WM_DPICHANGED, left to the default dialog procedure, it resizes the
// dialog, lays its controls out anew and gives them fonts for the scale.
bool DialogManagerScales();
// Keeps the dialog manager from rescaling `dialog` and its controls, for a
// dialog that sizes itself to sizes of its own.
void KeepDialogManagerFromRescaling(HWND dialog);

// What every dialog posts itself on WM_DPICHANGED, for what it made for the
// old scale (pictures, cursors) to be fitted to the new: by the time it
// comes, the dialog manager has laid the controls out anew.
constexpr UINT kScaleSettled = WM_APP + 0x2E0;

// Messages of per-monitor scaling, for headers that predate them.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif
