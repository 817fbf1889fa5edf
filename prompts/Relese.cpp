#include "prompts/Relese.h"

#include <cstdlib>
#include <ctime>

#include "framework/App.h"
#include "framework/Handles.h"
#include "res/resource.h"

namespace {

constexpr UINT_PTR kAlertTimer = 1;
constexpr UINT kAlertDelayMs = 100;
constexpr int kPictureCount = 12;
constexpr int kPictureWidth = 300, kPictureHeight = 200, kPictureLeft = 7, kPictureTop = 7;
constexpr DWORD kHelpContext = 3;

}  // namespace

CRelese::CRelese() : CDialogImpl(IDD_RELESE) {}

std::span<const CRelese::Message> CRelese::Messages() {
    static constexpr Message table[] = {
        {WM_PAINT, &CRelese::OnPaint},
        {WM_SHOWWINDOW, &CRelese::OnShowWindow},
        {WM_TIMER, &CRelese::OnTimer},
        {WM_DESTROY, &CRelese::OnDestroy},
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
    return TRUE;
}

LRESULT CRelese::OnPaint(WPARAM, LPARAM) {
    PaintDc paint(Hwnd());
    // Loaded afresh for each paint; nothing stays held between paints.
    GdiHandle picture(LoadBitmap(AppInstance(), MAKEINTRESOURCE(m_nPictureId)));
    MemoryDcHandle memory(CreateCompatibleDC(paint.Get()));
    if (picture && memory) {
        Selection selected(memory.Get(), picture.Get());
        BitBlt(paint.Get(), kPictureLeft, kPictureTop, kPictureWidth, kPictureHeight, memory.Get(), 0, 0,
               SRCCOPY);
    }
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
    PassOn();
    return 0;
}

void CRelese::OnHelpButton() { AppBase().ShowHelp(kHelpContext); }
