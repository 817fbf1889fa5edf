#include "app/LumeyraDlg.h"

#include <shellapi.h>

#include "app/LumeyraApp.h"
#include "app/Opacity.h"
#include "app/WindowLayout.h"
#include "framework/Handles.h"
#include "prompts/RestDialogs.h"
#include "res/resource.h"

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTickMs = 1000;
constexpr UINT kNotifyIconId = IDR_MAINFRAME;

constexpr const char* kRegistryErrorText =
    "Помилка при роботі з реєстром. \rМожливо у вас недостатньо прав.\rНасстройки будуть стандартними.";

}  // namespace

CLumeyraDlg::CLumeyraDlg()
    : CDialogImpl(IDD_LUMEYRA_DIALOG), m_hIcon(LoadIconA(AppInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME))) {}

std::span<const CLumeyraDlg::Message> CLumeyraDlg::Messages() {
    static constexpr Message table[] = {
        {WM_TIMER, &CLumeyraDlg::OnTimer},
        {WM_PAINT, &CLumeyraDlg::OnPaint},
        {WM_QUERYDRAGICON, &CLumeyraDlg::OnQueryDragIcon},
        {WM_GETDLGCODE, &CLumeyraDlg::OnGetDlgCode},
        {WM_DESTROY, &CLumeyraDlg::OnDestroy},
    };
    return table;
}

BOOL CLumeyraDlg::OnInitDialog() {
    m_animEyes.Attach(Item(IDC_ANIMATE_EYES));

    // The window offers neither restore nor move from a system menu.
    if (HMENU menu = GetSystemMenu(Hwnd(), FALSE)) {
        RemoveMenu(menu, 1, MF_BYPOSITION);
        RemoveMenu(menu, 0, MF_BYPOSITION);
    }
    SetWindowTextA(Hwnd(), "Lumeyra");
    SendMessageA(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    Settings settings{};
    if (!App().Store().LoadSettings(settings)) {
        ShowRegistryError();
        settings.TimeWork = 45;
        settings.TimeRelese = 15;
        settings.WindowType = 0;
        settings.alpha = 70;
    }
    m_nTimeRelese = settings.TimeRelese;
    m_nTimeWork = settings.TimeWork;
    m_bStopped = settings.StopTimer == 1;

    PlaceWindow(settings.WindowType, settings.xPos, settings.yPos);
    SetWindowLongA(Hwnd(), GWL_EXSTYLE, GetWindowLongA(Hwnd(), GWL_EXSTYLE) | WS_EX_LAYERED | WS_EX_TOOLWINDOW);
    SetLayeredWindowAttributes(Hwnd(), 0, AlphaByte(settings.alpha), LWA_ALPHA);
    MoveWindow(Hwnd(), m_rectWindow.left, m_rectWindow.top, m_rectWindow.right - m_rectWindow.left,
               m_rectWindow.bottom - m_rectWindow.top, TRUE);

    StartAnimation();
    SetTimer(Hwnd(), kTimerId, kTickMs, nullptr);
    NotifyIcon(NIM_ADD);
    CutToOutline();
    m_hook.Load("HookKeyUp.dll");
    return TRUE;
}

void CLumeyraDlg::ShowRegistryError() {
    MessageBoxA(Hwnd(), kRegistryErrorText, App().AppName().c_str(), MB_OK);
}

void CLumeyraDlg::PlaceWindow(int windowType, int xPos, int yPos) {
    RECT current{};
    GetWindowRect(Hwnd(), &current);
    Placement p = PlaceMainWindow(windowType, xPos, yPos,
                                  {current.left, current.top, current.right, current.bottom},
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    m_rectWindow = {p.rect.left, p.rect.top, p.rect.right, p.rect.bottom};
    if (p.clickThrough)
        SetWindowLongA(Hwnd(), GWL_EXSTYLE, GetWindowLongA(Hwnd(), GWL_EXSTYLE) | WS_EX_TRANSPARENT);
}

void CLumeyraDlg::StartAnimation() {
    // 3 pixels up and left, keeping the far edges: the clip's top-left grey
    // margin then lies outside the window.
    RECT r{};
    GetWindowRect(m_animEyes.Hwnd(), &r);
    MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&r), 2);
    MoveWindow(m_animEyes.Hwnd(), r.left - 3, r.top - 3, r.right - r.left + 3, r.bottom - r.top + 3, TRUE);
    m_animEyes.Open(AppInstance(), IDR_AVI_EYES);
    m_animEyes.Play(0, 0xFFFF, -1);
}

void CLumeyraDlg::CutToOutline() {
    RECT r{};
    GetWindowRect(Hwnd(), &r);
    auto parts = OutlineRects(r.right - r.left, r.bottom - r.top);
    RegionHandle outline(CreateRectRgn(0, 0, 0, 0));
    for (const OutlinePart& p : parts) {
        RegionHandle part(
            CreateRoundRectRgn(p.left, p.top, p.right, p.bottom, p.ellipseWidth, p.ellipseHeight));
        CombineRgn(outline.Get(), outline.Get(), part.Get(), RGN_OR);
    }
    // The window owns its region once it has taken it.
    if (SetWindowRgn(Hwnd(), outline.Get(), TRUE)) outline.Release();
}

NOTIFYICONDATAA CLumeyraDlg::IconRecord() const {
    NOTIFYICONDATAA data{};
    // The 64-bit form of the record without the balloon GUID and icon.
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = Hwnd();
    data.uID = kNotifyIconId;
    return data;
}

void CLumeyraDlg::NotifyIcon(DWORD operation) {
    NOTIFYICONDATAA data = IconRecord();
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_SYSCOMMAND;
    data.hIcon = LoadIconA(AppInstance(), MAKEINTRESOURCEA(m_bStopped ? IDI_TIMER_STOPPED : IDR_MAINFRAME));
    lstrcpynA(data.szTip, "Lumeyra", sizeof data.szTip);
    Shell_NotifyIconA(operation, &data);
}

LRESULT CLumeyraDlg::OnTimer(WPARAM, LPARAM) {
    WorkTimerTick(*this, *this);
    PassOn();
    return 0;
}

bool CLumeyraDlg::CursorPos(CursorPoint& point) {
    POINT p{};
    if (!GetCursorPos(&p)) return false;
    point = {p.x, p.y};
    return true;
}

void CLumeyraDlg::SetPromptOpen(int open) { App().m_bPromptOpen = open; }

std::unique_ptr<RestDialogs> CLumeyraDlg::CreateRestDialogs() { return std::make_unique<CRestDialogs>(); }

LRESULT CLumeyraDlg::OnPaint(WPARAM, LPARAM) {
    if (!IsIconic(Hwnd())) {
        PassOn();  // the animation control paints itself
        return 0;
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Hwnd(), &ps);
    SendMessageA(Hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    GetClientRect(Hwnd(), &client);
    int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
    EndPaint(Hwnd(), &ps);
    return 0;
}

LRESULT CLumeyraDlg::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hIcon); }

LRESULT CLumeyraDlg::OnGetDlgCode(WPARAM, LPARAM) { return DLGC_WANTALLKEYS; }

LRESULT CLumeyraDlg::OnDestroy(WPARAM, LPARAM) {
    KillTimer(Hwnd(), kTimerId);
    NOTIFYICONDATAA data = IconRecord();
    Shell_NotifyIconA(NIM_DELETE, &data);
    m_hook.Unload();
    PassOn();
    return 0;
}
