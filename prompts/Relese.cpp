#include "prompts/Relese.h"

#include <cstdlib>
#include <ctime>

#include "framework/App.h"
#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "framework/Picture.h"
#include "res/resource.h"

namespace {

constexpr UINT_PTR kAlertTimer = 1;
constexpr UINT kAlertDelayMs = 100;
constexpr int kPictureCount = 12;
constexpr DWORD kHelpContext = 3;

}  // namespace

CRelese::CRelese() : CDialogImpl(IDD_RELESE) {}

std::span<const CRelese::Message> CRelese::Messages() {
    static constexpr Message table[] = {
        {WM_SHOWWINDOW, &CRelese::OnShowWindow},
        {WM_TIMER, &CRelese::OnTimer},
        {WM_DESTROY, &CRelese::OnDestroy},
        {kScaleSettled, &CRelese::OnScaleSettled},
    };
    return table;
}

std::span<const CRelese::Command> CRelese::Commands() {
    static constexpr Command table[] = {{IDC_HELP_BUTTON, &CRelese::OnHelpButton}};
    return table;
}

BOOL CRelese::OnInitDialog() {
    SetItemText(IDC_MESSAGE, m_strMessage);
    // Seeded from the time in seconds at every opening: two prompts within
    // one second show the same picture.
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    m_nPictureId = IDB_PICTURE_FIRST + std::rand() % kPictureCount;
    FitLandscape();
    return TRUE;
}

// The landscape made to fill its frame, which has the dialog's scale.
void CRelese::FitLandscape() {
    ShowFittedPicture(Item(IDC_RELESE_PICTURE), m_picture, AppInstance(), static_cast<UINT>(m_nPictureId));
}

// Moved to a monitor of another scale, and laid out for it: the landscape
// follows its frame.
LRESULT CRelese::OnScaleSettled(WPARAM, LPARAM) {
    FitLandscape();
    return 0;
}

LRESULT CRelese::OnShowWindow(WPARAM shown, LPARAM) {
    // Only a showing announces the prompt: the same message also says that
    // it is being hidden (its owner minimised), with nobody to see it.
    if (shown) {
        m_bAlertPending = true;
        SetTimer(Hwnd(), kAlertTimer, kAlertDelayMs, nullptr);
    }
    PassOn();
    return 0;
}

LRESULT CRelese::OnTimer(WPARAM, LPARAM) {
    if (!m_bAlertPending) return 0;
    SetForegroundWindow(Hwnd());
    AppBase().PlaySoundFile(AppBase().ExeDir() + "OnReleaseWarning.wav");
    SetFocus(Item(IDOK));
    for (int i = 0; i < 3; ++i) {
        if (i) Sleep(100);
        Beep(1000, 100);
    }
    m_bAlertPending = false;
    return 0;
}

LRESULT CRelese::OnDestroy(WPARAM, LPARAM) {
    KillTimer(Hwnd(), kAlertTimer);
    ShowPicture(Item(IDC_RELESE_PICTURE), m_picture);
    PassOn();
    return 0;
}

void CRelese::OnHelpButton() { AppBase().ShowHelp(kHelpContext); }
