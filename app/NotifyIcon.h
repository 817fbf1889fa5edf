#pragma once

#include <windows.h>

#include <string>

#include "core/NotifyIconLook.h"
#include "framework/Handles.h"

// The main window's icon in the notification area: the timer's state as its
// picture and tip, and the way to the menu, whose mouse messages reach the
// window as WM_SYSCOMMAND with the icon's id. A program started at log-on
// may come before the taskbar, and Explorer may restart and lose every
// icon: a refused icon is tried again on the ticks, and added anew when the
// taskbar announces itself.
class CNotifyIcon {
public:
    // The id its mouse messages carry in wParam.
    static const UINT kId;

    // Adds the icon to `window`'s notification area, and lets the taskbar's
    // announcement through to it.
    void Create(HWND window, const NotifyIconLook& look);
    // Whether `message` is the taskbar's announcement that it has (re)started
    // without our icon.
    bool IsTaskbarCreated(UINT message) const { return m_uTaskbarCreated && message == m_uTaskbarCreated; }
    // Shows the icon in its present state, whether the notification area
    // still holds it or not.
    void Show(const NotifyIconLook& look);
    // The look sent now (NIM_MODIFY), as after the timer's stop changed.
    void Update(const NotifyIconLook& look);
    // On a tick: a refused icon is tried again.
    void Retry(const NotifyIconLook& look);
    // A shown icon takes the tip when its text has changed.
    void FollowTip(const NotifyIconLook& look);
    // A balloon from the icon with `title` and `text`; an icon not yet in
    // the notification area is added first.
    void Announce(const NotifyIconLook& look, const std::string& title, const std::string& text);
    void Remove();
    // The picture last handed to the notification area.
    HICON ShownIcon() const { return m_shownIcon.Get(); }

private:
    // Adds (NIM_ADD) or updates (NIM_MODIFY) the icon; false when the
    // notification area refused.
    bool Send(DWORD operation, const NotifyIconLook& look);

    HWND m_hWnd = nullptr;
    // "TaskbarCreated".
    UINT m_uTaskbarCreated = 0;
    // Ticks left on which a refused icon is tried again; 0 once it is shown.
    int m_nRetries = 0;
    // The tip the notification area holds.
    std::string m_strTip;
    IconHandle m_shownIcon;
};
