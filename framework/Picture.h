#pragma once

#include <windows.h>

#include "framework/Handles.h"

// A copy of `picture` the size of `frame`, covering it: scaled as little as
// covers it, in proportion, and cut off on the right or at the bottom where
// it reaches beyond; not scaled at all where it covers the frame and reaches
// beyond by a few pixels only. The same pixels where no scaling is needed,
// else scaled smoothly (HALFTONE, not the dropped or doubled rows of a
// plain stretch).
// A 24-bit DIB section, which a bitmap static draws as it is, with no alpha
// to blend.
GdiHandle FitPicture(HBITMAP picture, SIZE frame);

// The client size of `control`: the frame a picture of it is made for.
SIZE FrameOf(HWND control);

// Shows `picture` in the bitmap static `control` (none takes the picture
// back) and keeps it in `shown`. A static deletes nothing it was handed, and
// hands back what it held: that is deleted here unless `shown` held it,
// which then goes as `picture` takes its place.
void ShowPicture(HWND control, GdiHandle& shown, GdiHandle picture = GdiHandle());

// The bitmap resource `id` of `module` fitted to the bitmap static
// `control` at its present size and shown there, kept in `shown`: called
// again once the control has its size for a new scale.
void ShowFittedPicture(HWND control, GdiHandle& shown, HINSTANCE module, UINT id);
