#include "app/NotifyIcon.h"

#include <shellapi.h>

#include "framework/App.h"
#include "framework/Dpi.h"
#include "framework/Text.h"
#include "res/resource.h"

const UINT CNotifyIcon::kId = IDR_MAINFRAME;

namespace {

// Once a tick for ten minutes; after that (or after a restart of the
// taskbar) when the taskbar announces itself.
constexpr int kRetries = 600;

// The record with what every operation needs.
NOTIFYICONDATA IconRecord(HWND window) {
    NOTIFYICONDATA data{};
    // The 64-bit form of the record without the balloon GUID and icon.
    data.cbSize = NOTIFYICONDATA_V2_SIZE;
    data.hWnd = window;
    data.uID = CNotifyIcon::kId;
    return data;
}

}  // namespace

void CNotifyIcon::Create(HWND window, const NotifyIconLook& look) {
    m_hWnd = window;
    m_uTaskbarCreated = RegisterWindowMessage(L"TaskbarCreated");
    // A program run elevated would not hear the taskbar's broadcast from the
    // ordinary-rights shell otherwise.
    ChangeWindowMessageFilterEx(window, m_uTaskbarCreated, MSGFLT_ALLOW, nullptr);
    Show(look);
}

bool CNotifyIcon::Send(DWORD operation, const NotifyIconLook& look) {
    NOTIFYICONDATA data = IconRecord(m_hWnd);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_SYSCOMMAND;
    // The notification area shows small icons at the system's scale (that of
    // the main monitor at log-on), whatever monitor our window is on.
    IconHandle icon = LoadIconAt(AppInstance(), look.stoppedPicture ? IDI_TIMER_STOPPED : IDR_MAINFRAME,
                                 SM_CXSMICON, WindowDpi(nullptr));
    data.hIcon = icon.Get();
    const std::wstring tip = Widen(look.tip);
    lstrcpyn(data.szTip, tip.c_str(), ARRAYSIZE(data.szTip));
    if (!Shell_NotifyIcon(operation, &data)) return false;
    // The shell has drawn its own copy; ours is kept only to be looked at.
    m_shownIcon = std::move(icon);
    m_strTip = look.tip;
    return true;
}

void CNotifyIcon::Show(const NotifyIconLook& look) {
    // An icon still there refuses NIM_ADD and takes NIM_MODIFY.
    const bool shown = Send(NIM_ADD, look) || Send(NIM_MODIFY, look);
    m_nRetries = shown ? 0 : kRetries;
}

void CNotifyIcon::Update(const NotifyIconLook& look) {
    // Before Create, which shows the look of its moment.
    if (m_hWnd) Send(NIM_MODIFY, look);
}

void CNotifyIcon::Retry(const NotifyIconLook& look) {
    if (m_nRetries <= 0) return;
    // The shell may have timed out and added the icon all the same; from
    // then on every NIM_ADD fails, and only NIM_MODIFY reaches it.
    const bool shown = Send(NIM_MODIFY, look) || Send(NIM_ADD, look);
    m_nRetries = shown ? 0 : m_nRetries - 1;
}

void CNotifyIcon::FollowTip(const NotifyIconLook& look) {
    // Not before the icon is there: the retries add it with its tip.
    if (m_nRetries > 0) return;
    if (look.tip != m_strTip) Send(NIM_MODIFY, look);
}

void CNotifyIcon::Announce(const NotifyIconLook& look, const std::string& title, const std::string& text) {
    if (m_nRetries > 0) Show(look);
    NOTIFYICONDATA data = IconRecord(m_hWnd);
    data.uFlags = NIF_INFO;
    data.dwInfoFlags = NIIF_INFO;
    lstrcpyn(data.szInfoTitle, Widen(title).c_str(), ARRAYSIZE(data.szInfoTitle));
    lstrcpyn(data.szInfo, Widen(text).c_str(), ARRAYSIZE(data.szInfo));
    Shell_NotifyIcon(NIM_MODIFY, &data);
}

void CNotifyIcon::Remove() {
    NOTIFYICONDATA data = IconRecord(m_hWnd);
    Shell_NotifyIcon(NIM_DELETE, &data);
}
