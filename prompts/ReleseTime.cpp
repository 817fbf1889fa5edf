#include "prompts/ReleseTime.h"

#include <commctrl.h>

#include "framework/App.h"
#include "framework/WindowStyle.h"
#include "res/resource.h"

namespace {

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMs = 1000;
constexpr BYTE kOpacity = 250;
constexpr DWORD kHelpContext = 4;

}  // namespace

CReleseTime::CReleseTime() : CDialogImpl(IDD_RELESE_TIME) {}

std::span<const CReleseTime::Message> CReleseTime::Messages() {
    static constexpr Message table[] = {
        {WM_TIMER, &CReleseTime::OnTimer},
        {WM_DESTROY, &CReleseTime::OnDestroy},
    };
    return table;
}

std::span<const CReleseTime::Command> CReleseTime::Commands() {
    static constexpr Command table[] = {{IDC_HELP_BUTTON, &CReleseTime::OnHelpButton}};
    return table;
}

BOOL CReleseTime::OnInitDialog() {
    m_timeLabel.Subclass(Item(IDC_TIME_LABEL));
    m_restProgress = Item(IDC_REST_PROGRESS);

    SetStyleBits(Hwnd(), GWL_EXSTYLE, WS_EX_LAYERED | WS_EX_TOOLWINDOW, true);
    SetLayeredWindowAttributes(Hwnd(), 0, kOpacity, LWA_ALPHA);
    SetTimer(Hwnd(), kTickTimer, kTickMs, nullptr);
    m_nTick = 1;
    m_nLastTickMs = m_clock();
    m_timeLabel.SetFaceName("Courier", ANSI_CHARSET)
        .SetPointSize(45)
        .SetTextColor(RGB(10, 100, 10))
        .SetText(RestClockText(0));
    SendMessage(m_restProgress, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendMessage(m_restProgress, PBM_SETSTEP, 1, 0);
    return TRUE;
}

LRESULT CReleseTime::OnTimer(WPARAM, LPARAM) {
    RestClockTick tick = RestClockAdvance(*this, m_clock());
    m_timeLabel.SetText(tick.text);
    if (tick.progress) SendMessage(m_restProgress, PBM_SETPOS, *tick.progress, 0);
    if (tick.signalEnd) SignalEnd();
    return 0;
}

void CReleseTime::SignalEnd() {
    AppBase().PlaySoundFile(AppBase().ExeDir() + "OnStartWork.wav");
    for (int i = 0; i < 3; ++i) {
        if (i) Sleep(10);
        Beep(500, 200);
    }
    Beep(1000, 1000);
}

LRESULT CReleseTime::OnDestroy(WPARAM, LPARAM) {
    KillTimer(Hwnd(), kTickTimer);
    PassOn();
    return 0;
}

void CReleseTime::OnHelpButton() { AppBase().ShowHelp(kHelpContext); }
