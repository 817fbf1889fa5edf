#include "app/LumeyraDlg.h"

#include <windowsx.h>

#include <cstring>
#include <string_view>

#include "app/AboutDlg.h"
#include "app/BusyWatch.h"
#include "app/ContextMenu.h"
#include "app/ExiteDlg.h"
#include "app/LumeyraApp.h"
#include "app/NotifyIcon.h"
#include "app/SingleInstance.h"
#include "core/Opacity.h"
#include "core/WindowLayout.h"
#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "framework/Text.h"
#include "framework/WindowStyle.h"
#include "prompts/RestDialogs.h"
#include "res/resource.h"

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTickMs = 1000;
// What the policy watch posts when the machine's policy key has changed.
constexpr UINT kPolicyChanged = WM_APP + 1;
// Help topics by where the user asked for help.
constexpr DWORD kHelpFromIcon = 0;
constexpr DWORD kHelpFromWindow = 1;

// The system's session events and display state, as the rule knows them.
static_assert(EyesVisibility::kConsoleConnect == WTS_CONSOLE_CONNECT &&
              EyesVisibility::kConsoleDisconnect == WTS_CONSOLE_DISCONNECT &&
              EyesVisibility::kRemoteConnect == WTS_REMOTE_CONNECT &&
              EyesVisibility::kRemoteDisconnect == WTS_REMOTE_DISCONNECT &&
              EyesVisibility::kSessionLock == WTS_SESSION_LOCK &&
              EyesVisibility::kSessionUnlock == WTS_SESSION_UNLOCK);

// The eyes' clip drawn for the spectacles' scale.
UINT EyesClip(int dpi) {
    switch (dpi) {
        case 120: return IDR_AVI_EYES_120;
        case 144: return IDR_AVI_EYES_144;
        case 168: return IDR_AVI_EYES_168;
        case 192: return IDR_AVI_EYES_192;
        default: return IDR_AVI_EYES;
    }
}

constexpr const char* kRegistryErrorText =
    "Помилка при роботі з реєстром. \rМожливо у вас недостатньо прав.\rНасстройки будуть стандартними.";

}  // namespace

CLumeyraDlg::CLumeyraDlg()
    : CDialogImpl(IDD_LUMEYRA_DIALOG),
      m_uStartedAgain(StartedAgainMessage()) {}

std::span<const CLumeyraDlg::Message> CLumeyraDlg::Messages() {
    static constexpr Message table[] = {
        {WM_TIMER, &CLumeyraDlg::OnTimer},
        {WM_PAINT, &CLumeyraDlg::OnPaint},
        {WM_QUERYDRAGICON, &CLumeyraDlg::OnQueryDragIcon},
        {WM_GETDLGCODE, &CLumeyraDlg::OnGetDlgCode},
        {WM_DESTROY, &CLumeyraDlg::OnDestroy},
        {WM_RBUTTONUP, &CLumeyraDlg::OnRButtonUp},
        {WM_SYSCOMMAND, &CLumeyraDlg::OnSysCommand},
        {WM_LBUTTONDOWN, &CLumeyraDlg::OnLButtonDown},
        {WM_MOUSEMOVE, &CLumeyraDlg::OnMouseMove},
        {WM_LBUTTONUP, &CLumeyraDlg::OnLButtonUp},
        {WM_CAPTURECHANGED, &CLumeyraDlg::OnCaptureChanged},
        {WM_WTSSESSION_CHANGE, &CLumeyraDlg::OnSessionChange},
        {WM_POWERBROADCAST, &CLumeyraDlg::OnPowerBroadcast},
        {WM_SETTINGCHANGE, &CLumeyraDlg::OnSettingChange},
        {WM_DPICHANGED, &CLumeyraDlg::OnDpiChanged},
        {WM_DISPLAYCHANGE, &CLumeyraDlg::OnDisplayChange},
        {kPolicyChanged, &CLumeyraDlg::OnPolicyChanged},
    };
    return table;
}

std::span<const CLumeyraDlg::Command> CLumeyraDlg::Commands() {
    static constexpr Command table[] = {
        {kCmdAbout, &CLumeyraDlg::OnAbout},
        {kCmdHelpFromWindow, &CLumeyraDlg::OnHelpFromWindow},
        {kCmdHelpFromIcon, &CLumeyraDlg::OnHelpFromIcon},
        {CDialog::kHelpCommand, &CLumeyraDlg::OnHelpFromIcon},
        {kCmdStartStopTimer, &CLumeyraDlg::OnStartStopTimer},
        {kCmdSettings, &CLumeyraDlg::OnSettings},
        {kCmdExit, &CLumeyraDlg::OnExit},
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
    SetWindowText(Hwnd(), L"Lumeyra");
    // The spectacles size their window, clip and outline themselves, to
    // sizes of their own, on a change of scale.
    KeepDialogManagerFromRescaling(Hwnd());
    // Sized before it is placed: the placement keeps the window's size.
    m_nSpectaclesDpi = SpectaclesDpi(static_cast<int>(WindowDpi(Hwnd())));
    SizeSpectacles();
    SetWindowIcons();

    if (!App().Store().LoadSettings(m_settings)) {
        ShowRegistryError(kRegistryErrorText);
        UseLoadFailureFallback(m_settings);
    }
    m_policies = App().Store().LoadPolicies();
    ApplySettings(Running(), SettingsChange::kStartUp);

    StartAnimation();
    SetTimer(Hwnd(), kTimerId, kTickMs, nullptr);
    m_notifyIcon.Create(Hwnd(), NotifyIconFor(m_work));
    // A copy started by an elevated setup is told of a second start by an
    // ordinary-rights one as well.
    ChangeWindowMessageFilterEx(Hwnd(), m_uStartedAgain, MSGFLT_ALLOW, nullptr);
    CutToOutline();
    m_hook.Load("HookKeyUp.dll");
    m_policyWatch.Start(Hwnd(), kPolicyChanged);
    m_busyWatch.Start(Hwnd(), &CLumeyraDlg::OnBusyEvent);

    // The system reports the display's state at once on registering.
    if (WTSRegisterSessionNotification(Hwnd(), NOTIFY_FOR_THIS_SESSION)) m_sessionNotification.Reset(Hwnd());
    m_consoleDisplayNotification.Reset(
        RegisterPowerSettingNotification(Hwnd(), &GUID_CONSOLE_DISPLAY_STATE, DEVICE_NOTIFY_WINDOW_HANDLE));
    m_sessionDisplayNotification.Reset(
        RegisterPowerSettingNotification(Hwnd(), &GUID_SESSION_DISPLAY_STATUS, DEVICE_NOTIFY_WINDOW_HANDLE));
    return TRUE;
}

// The icons drawn for the window's scale: the 32-pixel one alone would be
// stretched for Alt+Tab and the taskbar, and squeezed for the caption.
void CLumeyraDlg::SetWindowIcons() {
    const UINT dpi = WindowDpi(Hwnd());
    m_bigIcon = LoadIconAt(AppInstance(), IDR_MAINFRAME, SM_CXICON, dpi);
    m_smallIcon = LoadIconAt(AppInstance(), IDR_MAINFRAME, SM_CXSMICON, dpi);
    SendMessage(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon.Get()));
    SendMessage(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.Get()));
}

void CLumeyraDlg::ShowRegistryError(const char* text) {
    MessageBox(Hwnd(), Widen(text).c_str(), Widen(App().AppName()).c_str(), MB_OK);
}

void CLumeyraDlg::MoveToRectWindow() {
    MoveWindow(Hwnd(), m_rectWindow.left, m_rectWindow.top, m_rectWindow.right - m_rectWindow.left,
               m_rectWindow.bottom - m_rectWindow.top, TRUE);
}

void CLumeyraDlg::PlaceWindow(int windowType, int xPos, int yPos) {
    RECT current{};
    GetWindowRect(Hwnd(), &current);
    Placement p =
        PlaceMainWindow(windowType, xPos, yPos, {current.left, current.top, current.right, current.bottom},
                        GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                        static_cast<int>(WindowDpi(Hwnd())));
    m_rectWindow = {p.rect.left, p.rect.top, p.rect.right, p.rect.bottom};
    if (p.clickThrough) SetStyleBits(Hwnd(), GWL_EXSTYLE, WS_EX_TRANSPARENT, true);
}

void CLumeyraDlg::SizeSpectacles() {
    const Size size = SpectaclesSize(m_nSpectaclesDpi);
    SetWindowPos(Hwnd(), nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CLumeyraDlg::StartAnimation() {
    // Up and left of the window: the clip's top-left grey margin then lies
    // outside. Without the centring style the control takes the clip's
    // frame size from there.
    const int margin = ScaleToDpi(kEyesClipMargin, m_nSpectaclesDpi);
    SetWindowPos(m_animEyes.Hwnd(), nullptr, -margin, -margin, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_animEyes.Open(AppInstance(), EyesClip(m_nSpectaclesDpi));
    if (m_eyesVisibility.Seen()) FollowVisibility(EyesVisibility::Change::kPlay);
}

// Dragged to a monitor of another scale, or the scale of its own changed:
// the spectacles stand where the system suggests, at their size for the
// new scale, with the clip drawn for it.
LRESULT CLumeyraDlg::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    RECT at{};
    GetWindowRect(Hwnd(), &at);
    if (const auto* suggested = reinterpret_cast<const RECT*>(lParam)) at = *suggested;
    m_nSpectaclesDpi = SpectaclesDpi(LOWORD(wParam));
    const Size size = SpectaclesSize(m_nSpectaclesDpi);
    m_rectWindow = {at.left, at.top, at.left + size.width, at.top + size.height};
    MoveToRectWindow();
    StartAnimation();
    CutToOutline();
    SetWindowIcons();
    return 0;
}

void CLumeyraDlg::SetOpacity(int32_t percent) {
    const uint8_t alpha = AlphaByte(percent);
    SetLayeredWindowAttributes(Hwnd(), 0, alpha, LWA_ALPHA);
    FollowVisibility(m_eyesVisibility.OpacityChanged(alpha));
}

void CLumeyraDlg::FollowVisibility(EyesVisibility::Change change) {
    if (change == EyesVisibility::Change::kStop) m_animEyes.Stop();
    if (change == EyesVisibility::Change::kPlay) m_animEyes.Play(0, 0xFFFF, -1);  // from the first frame
}

LRESULT CLumeyraDlg::OnSessionChange(WPARAM wParam, LPARAM) {
    FollowVisibility(m_eyesVisibility.SessionChanged(static_cast<uint32_t>(wParam)));
    return 0;
}

// Only the display's state is ours to answer; every other power event gets
// the system's default answer.
LRESULT CLumeyraDlg::OnPowerBroadcast(WPARAM wParam, LPARAM lParam) {
    const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam);
    if (wParam != PBT_POWERSETTINGCHANGE || !setting || setting->DataLength < sizeof(DWORD)) {
        PassOn();
        return 0;
    }
    DWORD state = 0;
    memcpy(&state, setting->Data, sizeof state);
    if (setting->PowerSetting == GUID_CONSOLE_DISPLAY_STATE)
        FollowVisibility(m_eyesVisibility.DisplayChanged(EyesVisibility::Display::kConsole, state));
    else if (setting->PowerSetting == GUID_SESSION_DISPLAY_STATUS)
        FollowVisibility(m_eyesVisibility.DisplayChanged(EyesVisibility::Display::kSession, state));
    return TRUE;
}

// Out of context, on this window's thread: the one main window's watch.
void CALLBACK CLumeyraDlg::OnBusyEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                                       DWORD) {
    if (auto* main = static_cast<CLumeyraDlg*>(CAppBase::MainWindow()))
        main->m_busyWatch.Heard(event, hwnd, object, child);
}

void CLumeyraDlg::FollowBusy(const BusyJudgement& busy) {
    m_busy.holdPrompt = busy.holdPrompt;
    if (busy.stepAside == m_busy.stepAside) return;
    m_busy.stepAside = busy.stepAside;
    // Back without taking the focus from whatever the user does now.
    ShowWindow(Hwnd(), busy.stepAside ? SW_HIDE : SW_SHOWNA);
    FollowVisibility(m_eyesVisibility.HiddenChanged(busy.stepAside));
}

void CLumeyraDlg::FollowQuietFullScreen(bool quiet) {
    m_bQuietFullScreen = quiet;
    // Turned off while hidden: back at once, and a held prompt opens on
    // the next tick.
    if (quiet) return;
    m_busySteadiness.Forget();
    FollowBusy({});
}

void CLumeyraDlg::CutToOutline() {
    RECT r{};
    GetWindowRect(Hwnd(), &r);
    auto parts = OutlineRects(r.right - r.left, r.bottom - r.top, m_nSpectaclesDpi);
    RegionHandle outline(CreateRectRgn(0, 0, 0, 0));
    for (const OutlinePart& p : parts) {
        RegionHandle part(
            CreateRoundRectRgn(p.left, p.top, p.right, p.bottom, p.ellipseWidth, p.ellipseHeight));
        CombineRgn(outline.Get(), outline.Get(), part.Get(), RGN_OR);
    }
    // The window owns its region once it has taken it.
    if (SetWindowRgn(Hwnd(), outline.Get(), TRUE)) outline.Release();
}

bool CLumeyraDlg::Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (m_notifyIcon.IsTaskbarCreated(message)) {
        OnTaskbarCreated();
        result = 0;
        return true;
    }
    if (message == m_uStartedAgain && m_uStartedAgain) {
        OnStartedAgain();
        result = 0;
        return true;
    }
    return CDialogImpl::Route(message, wParam, lParam, result);
}

// Explorer restarted (a crash, an update) and lost every icon; with the
// click-through window the icon is the only way to the menu.
void CLumeyraDlg::OnTaskbarCreated() { m_notifyIcon.Show(NotifyIconFor(m_work)); }

// The user started the program again, likely not seeing its icon (Windows
// 11 puts new icons in the overflow): tell them where it is. Spectacles
// hidden for a full-screen program stay hidden.
void CLumeyraDlg::OnStartedAgain() {
    m_notifyIcon.Announce(NotifyIconFor(m_work), "Lumeyra",
                          "Lumeyra уже запущена. Её значок — в области уведомлений.");
}

// Monitors come, go or change size: what covers one is looked at afresh.
LRESULT CLumeyraDlg::OnDisplayChange(WPARAM, LPARAM) {
    m_busyWatch.Invalidate();
    PassOn();
    return 0;
}

LRESULT CLumeyraDlg::OnTimer(WPARAM, LPARAM) {
    m_notifyIcon.Retry(NotifyIconFor(m_work));
    // Nobody presents to a locked screen: what was seen last holds until
    // the user is back, and the ticks meanwhile cost nothing more.
    if (!m_eyesVisibility.Away() && m_bQuietFullScreen)
        FollowBusy(m_busySteadiness.Next(JudgeBusy(m_busyWatch.Observe())));
    if (WorkTimerTick(m_work, m_senses, m_busy.holdPrompt)) {
        CRestDialogs dialogs;
        RunRestSequence(m_work, dialogs, App().m_bPromptOpen);
        // The rest ends with the timer running; a policy changed meanwhile
        // may say otherwise.
        FollowStopTimer(Running().StopTimer == 1);
    }
    m_notifyIcon.FollowTip(NotifyIconFor(m_work));
    PassOn();
    return 0;
}

bool CLumeyraDlg::Senses::CursorPos(CursorPoint& point) {
    POINT p{};
    if (!GetCursorPos(&p)) return false;
    point = {p.x, p.y};
    return true;
}

LRESULT CLumeyraDlg::OnPaint(WPARAM, LPARAM) {
    if (!IsIconic(Hwnd())) {
        PassOn();  // the animation control paints itself
        return 0;
    }
    PaintDc paint(Hwnd());
    SendMessage(Hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.Get()), 0);
    RECT client{};
    GetClientRect(Hwnd(), &client);
    const int size = MetricForDpi(SM_CXICON, WindowDpi(Hwnd()));
    int x = (client.right - size + 1) / 2;
    int y = (client.bottom - size + 1) / 2;
    // At the icon's own size, which is the window's.
    DrawIconEx(paint.Get(), x, y, m_bigIcon.Get(), 0, 0, 0, nullptr, DI_NORMAL);
    return 0;
}

LRESULT CLumeyraDlg::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_bigIcon.Get()); }

LRESULT CLumeyraDlg::OnGetDlgCode(WPARAM, LPARAM) { return DLGC_WANTALLKEYS; }

LRESULT CLumeyraDlg::OnDestroy(WPARAM, LPARAM) {
    m_policyWatch.Stop();
    m_busyWatch.Stop();
    m_sessionNotification.Reset();
    m_consoleDisplayNotification.Reset();
    m_sessionDisplayNotification.Reset();
    KillTimer(Hwnd(), kTimerId);
    m_notifyIcon.Remove();
    m_hook.Unload();
    PassOn();
    return 0;
}

LRESULT CLumeyraDlg::OnRButtonUp(WPARAM, LPARAM) {
    ShowContextMenu(MenuSource::kWindow);
    PassOn();
    return 0;
}

// The notification icon reports its mouse messages as WM_SYSCOMMAND with the
// icon's id; only its right click opens the menu, and not while a prompt or
// the exit question is open.
LRESULT CLumeyraDlg::OnSysCommand(WPARAM wParam, LPARAM lParam) {
    if (wParam == CNotifyIcon::kId && lParam == WM_RBUTTONUP && !App().m_bPromptOpen)
        ShowContextMenu(MenuSource::kNotifyIcon);
    else
        PassOn();
    return 0;
}

void CLumeyraDlg::ShowContextMenu(MenuSource source) {
    TrackContextMenu(Hwnd(), source, m_work.m_bStopped,
                     {.stopTimer = m_policies.StopTimerAllowed(), .exit = m_policies.ExitAllowed()});
}

// Windows broadcasts "Policy" once Group Policy has been applied anew.
LRESULT CLumeyraDlg::OnSettingChange(WPARAM, LPARAM lParam) {
    const auto* area = reinterpret_cast<const wchar_t*>(lParam);
    if (area && std::wstring_view(area) == L"Policy") ApplyPolicies();
    PassOn();
    return 0;
}

// Written however (reg.exe, a .reg file, Intune, a script): the same as a
// refresh that was announced.
LRESULT CLumeyraDlg::OnPolicyChanged(WPARAM, LPARAM) {
    ApplyPolicies();
    return 0;
}

// The anchor stays where the button went down: after each move the window
// has followed the cursor, so the next move carries only the new offset.
LRESULT CLumeyraDlg::OnLButtonDown(WPARAM, LPARAM lParam) {
    m_bDragging = true;
    m_ptDragAnchor = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    SetCapture(Hwnd());
    PassOn();
    return 0;
}

LRESULT CLumeyraDlg::OnMouseMove(WPARAM, LPARAM lParam) {
    if (m_bDragging) {
        int dx = GET_X_LPARAM(lParam) - m_ptDragAnchor.x;
        int dy = GET_Y_LPARAM(lParam) - m_ptDragAnchor.y;
        OffsetRect(&m_rectWindow, dx, dy);
        MoveToRectWindow();
    }
    PassOn();
    return 0;
}

LRESULT CLumeyraDlg::OnLButtonUp(WPARAM, LPARAM lParam) {
    m_bDragging = false;
    m_ptDragAnchor = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ReleaseCapture();
    PassOn();
    return 0;
}

// The capture taken away mid-drag (a dialog opening, Alt+Tab, Win+L): the
// button will go up elsewhere, so the drag ends here, where the window is.
// Otherwise it would follow the pointer whenever it passes over it.
LRESULT CLumeyraDlg::OnCaptureChanged(WPARAM, LPARAM lParam) {
    if (reinterpret_cast<HWND>(lParam) != Hwnd()) m_bDragging = false;
    PassOn();
    return 0;
}

void CLumeyraDlg::OnAbout() {
    CAboutDlg about;
    about.DoModal();
}

void CLumeyraDlg::OnHelpFromWindow() { App().ShowHelp(kHelpFromWindow); }

void CLumeyraDlg::OnHelpFromIcon() { App().ShowHelp(kHelpFromIcon); }

// Where the administrator forbids the exit, not even a posted command or a
// question answered after a policy came ends the program.
void CLumeyraDlg::OnExit() {
    if (!m_policies.ExitAllowed()) return;
    App().m_bPromptOpen = 1;
    CExiteDlg question;
    if (question.DoModal() == IDOK && m_policies.ExitAllowed()) EndDialog(IDOK);
    App().m_bPromptOpen = 0;
}
