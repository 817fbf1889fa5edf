// The Settings command of the main window: the settings dialog over the
// stored settings, then storing and applying what the user confirmed.
#include "app/LumeyraApp.h"
#include "app/LumeyraDlg.h"
#include "app/Opacity.h"
#include "settings/OptionsDialog.h"

namespace {

constexpr const char* kLoadErrorText = "Помилка при роботі з реєстром. \rМожливо у вас недостатньо прав.";
constexpr const char* kSaveErrorText =
    "Помилка при роботі з реєстром. \rМожливо у вас недостатньо прав.\r"
    " Можливо не всі настройки приміняться.";

}  // namespace

void CLumeyraDlg::OnSettings() {
    COptionsDialog options;
    Settings settings{};
    if (!App().Store().LoadSettings(settings)) ShowRegistryError(kLoadErrorText);

    options.m_nTimeWork = settings.TimeWork;
    options.m_nTimeRelese = settings.TimeRelese;
    options.m_nXPos = settings.xPos;
    options.m_nYPos = settings.yPos;
    options.m_nWindowType = settings.WindowType;
    const int32_t autoStartShown = settings.AutoStart == 1 ? 1 : 0;
    options.m_bAutoStart = autoStartShown;
    options.m_nAlpha = settings.alpha;
    if (options.DoModal() != IDOK) return;

    Settings chosen{};
    chosen.TimeWork = options.m_nTimeWork;
    chosen.TimeRelese = options.m_nTimeRelese;
    chosen.WindowType = options.m_nWindowType;
    chosen.xPos = options.m_nXPos;
    chosen.yPos = options.m_nYPos;
    chosen.alpha = options.m_nAlpha;
    chosen.AutoStart = options.m_bAutoStart != 0 ? 1 : 0;
    // Ticking and unticking again is no change: the Run value stays alone.
    const bool autoStartChanged = options.m_bAutoStart != autoStartShown;
    // What could not be stored still applies to this run.
    if (!App().Store().SaveSettings(chosen, autoStartChanged)) ShowRegistryError(kSaveErrorText);

    // The work timer takes the new limits from its next tick; the seconds
    // already counted stay.
    m_work.m_nTimeRelese = options.m_nTimeRelese;
    m_work.m_nTimeWork = options.m_nTimeWork;
    SetLayeredWindowAttributes(Hwnd(), 0, AlphaByte(options.m_nAlpha), LWA_ALPHA);

    // Only the ordinary window keeps its place; any other type (-1 when
    // neither button was chosen) lets the mouse through and stands at x, y.
    if (options.m_nWindowType == 0) {
        SetExStyle(WS_EX_TRANSPARENT, false);
        return;
    }
    SetExStyle(WS_EX_TRANSPARENT, true);
    GetWindowRect(Hwnd(), &m_rectWindow);
    OffsetRect(&m_rectWindow, options.m_nXPos - m_rectWindow.left, options.m_nYPos - m_rectWindow.top);
    MoveToRectWindow();
}
