#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/BusyWatch.h"
#include "app/HookLibrary.h"
#include "app/NotifyIcon.h"
#include "app/PolicyWatch.h"
#include "core/EyesVisibility.h"
#include "core/MenuItems.h"
#include "core/Policies.h"
#include "core/Settings.h"
#include "core/UserBusy.h"
#include "core/WorkTimer.h"
#include "framework/AnimateCtrl.h"
#include "framework/Dialog.h"
#include "framework/Handles.h"

class COptionsDialog;

// The main window: the spectacle-shaped, always-on-top, semi-transparent
// window with the eyes animation. It runs modally for the process's life,
// owns the notification icon, the one-second timer, the keyboard hook and the
// work timer's state.
class CLumeyraDlg : public CDialogImpl<CLumeyraDlg> {
public:
    CLumeyraDlg();

protected:
    BOOL OnInitDialog() override;
    // Enter, Escape and a close request leave the window open: it ends only
    // through the exit command.
    void OnOK() override {}
    void OnCancel() override {}
    // The registered messages (the taskbar's, a second start's), which a
    // static table can't name.
    bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    friend class CDialogImpl<CLumeyraDlg>;
    static std::span<const Message> Messages();
    static std::span<const Command> Commands();

    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    LRESULT OnGetDlgCode(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnRButtonUp(WPARAM, LPARAM);
    LRESULT OnSysCommand(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnLButtonUp(WPARAM, LPARAM);
    LRESULT OnCaptureChanged(WPARAM, LPARAM);
    void OnTaskbarCreated();
    void OnStartedAgain();
    LRESULT OnSessionChange(WPARAM, LPARAM);
    LRESULT OnPowerBroadcast(WPARAM, LPARAM);
    LRESULT OnSettingChange(WPARAM, LPARAM);
    LRESULT OnDisplayChange(WPARAM, LPARAM);
    LRESULT OnPolicyChanged(WPARAM, LPARAM);
    LRESULT OnDpiChanged(WPARAM, LPARAM);
    // What the busy watch's hooks hear, handed to it.
    static void CALLBACK OnBusyEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                                     DWORD);

    void OnAbout();
    void OnHelpFromWindow();
    void OnHelpFromIcon();
    void OnStartStopTimer();
    // The settings dialog over the stored settings, then storing and applying
    // what the user confirmed.
    void OnSettings();
    void OnExit();
    void ShowContextMenu(MenuSource source);

    // The settings that run: the user's under the machine's policies.
    Settings Running() const { return Enforced(m_settings, m_policies); }
    // What brings settings into force, and so which of them apply.
    enum class SettingsChange {
        // All of them; the window placed by the stored type and position
        // (PlaceMainWindow's rule).
        kStartUp,
        // What a policy may hold: the limits, the quiet choice, the stop.
        kPolicies,
        // What the settings dialog sets: the limits, the opacity, the quiet
        // choice, and the window type's rule below.
        kChosen,
    };
    // Runs the window with `running` (see Running): the work and rest limits
    // from the next tick on, and what else `change` brings.
    void ApplySettings(const Settings& running, SettingsChange change);
    // The window type as the settings dialog applies it: only the ordinary
    // window (type 0) keeps its place and takes the mouse; any other type
    // lets the mouse through and stands at xPos, yPos.
    void FollowWindowType(const Settings& running);
    // Reads the machine's policies afresh and runs with them: the work and
    // rest limits and the timer's state; the menu follows at its next
    // showing.
    void ApplyPolicies();
    // The timer stopped or running as the settings that run say.
    void FollowStopTimer(bool stopped);
    // Whether the start/stop command may act now: stopping may be forbidden.
    bool MayStartStopTimer() const { return m_work.m_bStopped || m_policies.StopTimerAllowed(); }

    // Loads the window's icons for its present scale and hands them to it;
    // again after the scale has changed.
    void SetWindowIcons();
    // The box for registry failures: owned by this window, the application's
    // name as caption, OK, no icon.
    void ShowRegistryError(const char* text);
    // Moves the window to m_rectWindow, repainting it.
    void MoveToRectWindow();
    void PlaceWindow(int windowType, int xPos, int yPos);
    // The window's size at m_nSpectaclesDpi.
    void SizeSpectacles();
    // Opens the clip drawn for m_nSpectaclesDpi and plays it while seen.
    void StartAnimation();
    // Sets the window's constant opacity from the percentage.
    void SetOpacity(int32_t percent);
    // Nobody benefits from frames that nobody can see: the animation stops
    // while the session is locked or away, the display is off or the window
    // fully transparent, and plays from its first frame when it can be seen.
    void FollowVisibility(EyesVisibility::Change change);
    // While the user presents or plays full screen (and wants quiet) the
    // due prompt waits, and the spectacles keep out of the way of what
    // covers their monitor: hidden, the eyes still; back after.
    void FollowBusy(const BusyJudgement& busy);
    void FollowQuietFullScreen(bool quiet);
    void CutToOutline();

    // What the work timer observes: the cursor, the hook's key flag, the
    // clock.
    class Senses : public WorkTimerSenses {
    public:
        explicit Senses(CHookLibrary& hook) : m_hook(hook) {}
        bool CursorPos(CursorPoint& point) override;
        bool WasKeyDown() override { return m_hook.WasKeyDown(); }
        void ResetKeyDown() override { m_hook.ResetKeyDown(); }
        int64_t NowMs() override { return static_cast<int64_t>(GetTickCount64()); }

    private:
        CHookLibrary& m_hook;
    };

    // The window's icons at its scale (SetWindowIcons).
    IconHandle m_bigIcon;
    IconHandle m_smallIcon;
    CAnimateCtrl m_animEyes;
    // The scale the spectacles are drawn at (core/WindowLayout.h).
    int m_nSpectaclesDpi = 96;
    RECT m_rectWindow{};
    bool m_bDragging = false;
    POINT m_ptDragAnchor{};
    CHookLibrary m_hook;
    Senses m_senses{m_hook};
    WorkTimerState m_work;
    // The user's own settings as last loaded or chosen, under the policies
    // that the program runs with; a policy that goes away leaves them in
    // force again.
    Settings m_settings;
    Policies m_policies;
    CPolicyWatch m_policyWatch;
    // The settings dialog while it is open, and the user's own settings it
    // opened over: a policy that comes or goes meanwhile shows there at once.
    COptionsDialog* m_pOpenOptions = nullptr;
    Settings m_openOptionsUser;
    EyesVisibility m_eyesVisibility;
    bool m_bQuietFullScreen = true;
    // Busy as believed: seen on two ticks in a row.
    BusySteadiness m_busySteadiness;
    BusyJudgement m_busy;
    // Looks at the user again only when something changed.
    BusyWatch m_busyWatch;
    CNotifyIcon m_notifyIcon;
    // What a second start of the program posts here.
    const UINT m_uStartedAgain;
    SessionNotification m_sessionNotification;
    PowerNotification m_consoleDisplayNotification;
    PowerNotification m_sessionDisplayNotification;
};
