#pragma once

#include <windows.h>
#include <commctrl.h>

// The animation control ("SysAnimate32") bound to a dialog's child.
class CAnimateCtrl {
public:
    void Attach(HWND hwnd) { m_hWnd = hwnd; }
    HWND Hwnd() const { return m_hWnd; }
    bool Open(HINSTANCE module, UINT resourceId) {
        return SendMessage(m_hWnd, ACM_OPEN, reinterpret_cast<WPARAM>(module),
                           reinterpret_cast<LPARAM>(MAKEINTRESOURCE(resourceId))) != 0;
    }
    // Frames from..to (0xFFFF: the last), `repeat` times (-1: forever).
    bool Play(UINT from, UINT to, int repeat) {
        return SendMessage(m_hWnd, ACM_PLAY, static_cast<WPARAM>(repeat), MAKELPARAM(from, to)) != 0;
    }
    // Stops at the current frame.
    void Stop() { SendMessage(m_hWnd, ACM_STOP, 0, 0); }

private:
    HWND m_hWnd = nullptr;
};
