// The main window's settings: which run, and how they come into force.

#include "app/LumeyraApp.h"
#include "app/LumeyraDlg.h"
#include "framework/WindowStyle.h"
#include "password/QueryPassword.h"
#include "settings/OptionsDialog.h"

namespace {

constexpr const char* kLoadErrorText = "Помилка при роботі з реєстром. \rМожливо у вас недостатньо прав.";
constexpr const char* kSaveErrorText =
    "Помилка при роботі з реєстром. \rМожливо у вас недостатньо прав.\r"
    " Можливо не всі настройки приміняться.";

}  // namespace

void CLumeyraDlg::ApplyPolicies() {
    m_policies = App().Store().LoadPolicies();
    ApplySettings(Running(), SettingsChange::kPolicies);
    if (m_pOpenOptions) m_pOpenOptions->FollowPolicies(m_policies, m_openOptionsUser);
}

void CLumeyraDlg::FollowStopTimer(bool stopped) {
    if (stopped == m_work.m_bStopped) return;
    m_work.m_bStopped = stopped;
    m_notifyIcon.Update(NotifyIconFor(m_work));
}

// The greyed item aside, the command may come posted, or a policy may have
// come while the password was asked for: neither stops a timer that must
// count.
void CLumeyraDlg::OnStartStopTimer() {
    if (!MayStartStopTimer()) return;
    CQueryPassword query;
    if (query.DoModal() != IDOK || !MayStartStopTimer()) return;
    m_work.m_bStopped = !m_work.m_bStopped;
    m_settings.StopTimer = m_work.m_bStopped ? 1 : 0;
    // The work counts stay: starting again continues from them.
    App().Store().SaveStopTimer(m_settings.StopTimer);
    m_notifyIcon.Update(NotifyIconFor(m_work));
}

void CLumeyraDlg::OnSettings() {
    COptionsDialog options;
    Settings settings{};
    if (!App().Store().LoadSettings(settings)) ShowRegistryError(kLoadErrorText);
    // The dialog shows what runs: a policy set without a refresh's
    // broadcast (a .reg file) runs from now on too.
    ApplyPolicies();
    Policies held = m_policies;
    const Settings shown = Enforced(settings, held);

    options.Show(shown);
    options.m_policies = held;
    m_pOpenOptions = &options;
    m_openOptionsUser = settings;
    const INT_PTR result = options.DoModal();
    m_pOpenOptions = nullptr;
    if (result != IDOK) return;
    // The policies as the dialog last showed them: one may have come or
    // gone while it was open.
    held = options.m_policies;

    Settings chosen = options.Chosen(settings);
    // The values the policies held were shown, not chosen: the user's own
    // stay, in the key as they were and for when the policy goes.
    chosen = UsersOwn(chosen, settings, held);
    // Ticking and unticking again is no change: the Run value stays alone.
    const bool autoStartChanged = chosen.AutoStart != (shown.AutoStart == 1 ? 1 : 0);
    // What could not be stored still applies to this run.
    if (!App().Store().SaveSettings(chosen, autoStartChanged, held)) ShowRegistryError(kSaveErrorText);

    m_settings = chosen;
    ApplySettings(Running(), SettingsChange::kChosen);
}

void CLumeyraDlg::ApplySettings(const Settings& running, SettingsChange change) {
    // The work timer takes the new limits from its next tick; the seconds
    // already counted stay.
    m_work.m_nTimeRelese = running.TimeRelese;
    m_work.m_nTimeWork = running.TimeWork;
    if (change == SettingsChange::kStartUp) {
        PlaceWindow(running.WindowType, running.xPos, running.yPos);
        SetStyleBits(Hwnd(), GWL_EXSTYLE, WS_EX_LAYERED | WS_EX_TOOLWINDOW, true);
        SetOpacity(running.alpha);
        MoveToRectWindow();
    } else if (change == SettingsChange::kChosen) {
        SetOpacity(running.alpha);
    }
    FollowQuietFullScreen(running.QuietFullScreen != 0);
    if (change == SettingsChange::kChosen) FollowWindowType(running);
    // The dialog leaves the timer's stop alone; the rest keeps the timer
    // stopped for itself until it is over.
    if (change != SettingsChange::kChosen && !m_work.m_bInRest) FollowStopTimer(running.StopTimer == 1);
}

void CLumeyraDlg::FollowWindowType(const Settings& running) {
    // -1 (neither button chosen) counts as a type other than the ordinary.
    if (running.WindowType == 0) {
        SetStyleBits(Hwnd(), GWL_EXSTYLE, WS_EX_TRANSPARENT, false);
        return;
    }
    SetStyleBits(Hwnd(), GWL_EXSTYLE, WS_EX_TRANSPARENT, true);
    GetWindowRect(Hwnd(), &m_rectWindow);
    OffsetRect(&m_rectWindow, running.xPos - m_rectWindow.left, running.yPos - m_rectWindow.top);
    MoveToRectWindow();
}
