#pragma once

// What a process holds, counted the ways that work under Wine 8 too, where
// GetGuiResources is a stub and GetProcessHandleCount answers 0: the GDI
// handle table behind the process's PEB, the system's handle list, and a
// sweep over the USER handle indices. Each count is -1 when it cannot be read.
#include <windows.h>

namespace testsupport {

// Live GDI objects of `process` (opened with PROCESS_QUERY_INFORMATION and
// PROCESS_VM_READ, or the current process), stock objects left out: the
// entries of its GDI handle table that it owns; total -1 when unreadable.
// Wine keeps up to 64 device contexts for reuse, each with a region and a
// surface, and its cache grows in steps as windows come and go: `Others`
// are the objects a program makes and deletes itself (bitmaps, brushes,
// pens, fonts, palettes).
struct GdiCount {
    int total = -1;
    int deviceContexts = 0, regions = 0, surfaces = 0;
    int Others() const { return total - deviceContexts - regions - surfaces; }
};
GdiCount GdiObjects(HANDLE process);
// Kernel handles that process `pid` holds open.
int KernelHandles(DWORD pid);
// Threads of process `pid`.
int Threads(DWORD pid);

// USER objects by kind. Windows of any process are seen, menus, cursors and
// icons only in the calling process (another's answer as invalid).
struct UserObjects {
    int windows = 0, menus = 0, cursors = 0;
    int Total() const { return windows + menus + cursors; }
};
UserObjects CountUserObjects(DWORD pid);

}  // namespace testsupport
