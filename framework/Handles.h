#pragma once

#include <windows.h>
#include <wtsapi32.h>
// After windows.h, which it needs.
#include <objbase.h>

#include <utility>

// One owner per handle kind: it closes what it holds, cannot be copied, and
// hands its handle on when moved.
template <class Handle, auto Close, Handle Null = Handle{}>
class Owner {
public:
    Owner() = default;
    explicit Owner(Handle h) : m_h(h) {}
    ~Owner() { Reset(); }
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    Owner(Owner&& other) noexcept : m_h(std::exchange(other.m_h, Null)) {}
    Owner& operator=(Owner&& other) noexcept {
        if (this != &other) {
            Reset();
            m_h = std::exchange(other.m_h, Null);
        }
        return *this;
    }

    Handle Get() const { return m_h; }
    explicit operator bool() const { return m_h != Null; }
    // Gives up ownership, e.g. when the system takes the handle over.
    Handle Release() { return std::exchange(m_h, Null); }
    void Reset(Handle h = Null) {
        if (m_h != Null) Close(m_h);
        m_h = h;
    }

private:
    Handle m_h = Null;
};

namespace handles {
inline void CloseKey(HKEY h) { RegCloseKey(h); }
inline void UnloadLibrary(HMODULE h) { FreeLibrary(h); }
inline void DeleteGdi(HGDIOBJ h) { DeleteObject(h); }
inline void DeleteRegion(HRGN h) { DeleteObject(h); }
inline void DeleteMemoryDc(HDC h) { DeleteDC(h); }
inline void CloseFile(HANDLE h) { CloseHandle(h); }
inline void CloseMutex(HANDLE h) { CloseHandle(h); }
inline void CloseEvent(HANDLE h) { CloseHandle(h); }
inline void DestroyMenuHandle(HMENU h) { DestroyMenu(h); }
inline void DestroyIconHandle(HICON h) { DestroyIcon(h); }
inline void DestroyCursorHandle(HCURSOR h) { DestroyCursor(h); }
inline void UnregisterPowerNotification(HPOWERNOTIFY h) { UnregisterPowerSettingNotification(h); }
inline void UnregisterSessionNotification(HWND h) { WTSUnRegisterSessionNotification(h); }
template <class Interface>
void ReleaseCom(Interface* p) {
    p->Release();
}
}  // namespace handles

using KeyHandle = Owner<HKEY, handles::CloseKey>;
using LibraryHandle = Owner<HMODULE, handles::UnloadLibrary>;
using GdiHandle = Owner<HGDIOBJ, handles::DeleteGdi>;
using RegionHandle = Owner<HRGN, handles::DeleteRegion>;
using MemoryDcHandle = Owner<HDC, handles::DeleteMemoryDc>;
// A file handle; INVALID_HANDLE_VALUE is never stored, a failed open holds none.
using FileHandle = Owner<HANDLE, handles::CloseFile>;
using MenuHandle = Owner<HMENU, handles::DestroyMenuHandle>;
// Icons and cursors loaded at a size of our choosing (not LR_SHARED), which
// nobody but their loader destroys.
using IconHandle = Owner<HICON, handles::DestroyIconHandle>;
using CursorHandle = Owner<HCURSOR, handles::DestroyCursorHandle>;
using MutexHandle = Owner<HANDLE, handles::CloseMutex>;
using EventHandle = Owner<HANDLE, handles::CloseEvent>;
// A power setting's notifications to a window.
using PowerNotification = Owner<HPOWERNOTIFY, handles::UnregisterPowerNotification>;
// A window's registration for the session's changes: holds the window once
// registered.
using SessionNotification = Owner<HWND, handles::UnregisterSessionNotification>;

// One reference to a COM object, given back when the owner goes.
template <class Interface>
using ComOwner = Owner<Interface*, handles::ReleaseCom<Interface>>;

// This thread in a single-threaded COM apartment while the owner lives:
// what the system calls into from other processes (a screen reader asking a
// label what it says) arrives as messages of this thread, one at a time. A
// thread that is in an apartment already stays in it as it is.
class ComApartment {
public:
    ComApartment() : m_hr(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(m_hr)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT m_hr;
};

// A window's device context from GetDC, released to that window.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : m_hwnd(hwnd), m_dc(GetDC(hwnd)) {}
    ~WindowDc() {
        if (m_dc) ReleaseDC(m_hwnd, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// An object selected into a device context for the owner's lifetime; the
// previous one is put back before the object may be deleted.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (m_previous) SelectObject(m_dc, m_previous);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// A window's paint device context, from BeginPaint to EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND hwnd) : m_hwnd(hwnd), m_dc(BeginPaint(hwnd, &m_ps)) {}
    ~PaintDc() { EndPaint(m_hwnd, &m_ps); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_ps{};
    HDC m_dc;
};
