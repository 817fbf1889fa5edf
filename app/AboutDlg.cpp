#include "app/AboutDlg.h"

#include "framework/App.h"
#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "framework/Picture.h"
#include "res/resource.h"

namespace {

Rect WindowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return {r.left, r.top, r.right, r.bottom};
}

// The screen y of the client area's top: where client coordinates start.
int32_t ClientTop(HWND hwnd) {
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    return origin.y;
}

}  // namespace

CAboutDlg::CAboutDlg() : CDialogImpl(IDD_ABOUTBOX) {}

std::span<const CAboutDlg::Message> CAboutDlg::Messages() {
    static constexpr Message table[] = {
        {WM_DESTROY, &CAboutDlg::OnDestroy},
        {kScaleSettled, &CAboutDlg::OnScaleSettled},
    };
    return table;
}

std::span<const CAboutDlg::Command> CAboutDlg::Commands() {
    static constexpr Command table[] = {{IDC_ABOUT_FOLD, &CAboutDlg::OnFold}};
    return table;
}

BOOL CAboutDlg::OnInitDialog() {
    m_labelTitle.Subclass(Item(IDC_ABOUT_TITLE));
    m_labelMail.Subclass(Item(IDC_ABOUT_MAIL));

    // The size first: its height is worked out while the label still has the
    // dialog's font.
    m_labelTitle.SetPointSize(25).SetFaceName("Courier", ANSI_CHARSET);
    m_rcWindow = WindowRect(Hwnd());

    // The address is written once, in the template; the link is made from
    // what the label shows, so the two cannot disagree.
    m_labelMail.SetLink(true, false)
        .SetTextColor(RGB(0, 0, 255))
        .SetUnderline(true)
        .SetLinkTarget("mailto:" + m_labelMail.Text() + "?subject=Lumeyra");
    ShowAtScale();

    RECT description{0, kDescriptionTop, 0, 0};
    MapDialogRect(Hwnd(), &description);
    InitAboutFold(*this, m_rcWindow, ClientTop(Hwnd()), GetSystemMetrics(SM_CYCAPTION), description.top);
    MoveToFold();
    return TRUE;
}

void CAboutDlg::ShowAtScale() {
    // The hand at the size of the system's cursors at this scale, not the
    // 32-pixel one LoadCursor gives everywhere.
    const int cursorSize = MetricForDpi(SM_CXCURSOR, WindowDpi(Hwnd()));
    CursorHandle hand(static_cast<HCURSOR>(
        LoadImageW(AppInstance(), MAKEINTRESOURCEW(IDC_LINK_HAND), IMAGE_CURSOR, cursorSize, cursorSize, 0)));
    m_labelMail.SetLinkCursor(hand.Get());
    m_linkCursor = std::move(hand);

    // The logo made anew for its frame, which has the dialog's scale.
    ShowFittedPicture(Item(IDC_ABOUT_EYE), m_eye, AppInstance(), IDB_ABOUT_EYE);
}

// Moved to a monitor of another scale, and laid out for it: the cursor and
// the logo follow.
LRESULT CAboutDlg::OnScaleSettled(WPARAM, LPARAM) {
    ShowAtScale();
    return 0;
}

// The static deletes no picture it was handed: taken back here, each
// opening leaves nothing behind.
LRESULT CAboutDlg::OnDestroy(WPARAM, LPARAM) {
    ShowPicture(Item(IDC_ABOUT_EYE), m_eye);
    PassOn();
    return 0;
}

void CAboutDlg::OnFold() {
    // Taken afresh: the user may have moved the box since.
    const char* caption = ToggleAboutFold(*this, WindowRect(Hwnd()), ClientTop(Hwnd()));
    MoveToFold();
    SetItemText(IDC_ABOUT_FOLD, caption);
}

void CAboutDlg::MoveToFold() {
    MoveWindow(Hwnd(), m_rcWindow.left, m_rcWindow.top, m_rcWindow.Width(), m_rcWindow.Height(), TRUE);
}
