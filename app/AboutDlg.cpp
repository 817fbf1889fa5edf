#include "app/AboutDlg.h"

#include "framework/App.h"
#include "framework/Handles.h"
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
    static constexpr Message table[] = {{WM_DESTROY, &CAboutDlg::OnDestroy}};
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
    HCURSOR hand = LoadCursor(AppInstance(), MAKEINTRESOURCE(IDC_LINK_HAND));
    m_labelMail.SetLink(true, false)
        .SetTextColor(RGB(0, 0, 255))
        .SetUnderline(true)
        .SetLinkCursor(hand)
        .SetLinkTarget("mailto:" + m_labelMail.Text() + "?subject=Lumeyra");

    RECT description{0, kDescriptionTop, 0, 0};
    MapDialogRect(Hwnd(), &description);
    InitAboutFold(*this, m_rcWindow, ClientTop(Hwnd()), GetSystemMetrics(SM_CYCAPTION), description.top);
    MoveToFold();
    return TRUE;
}

// The eye's static loaded its bitmap from the template itself. Wine's static
// control never deletes such an image, and Windows' only while nobody has
// replaced it: taken back here, each opening leaves nothing behind on either.
LRESULT CAboutDlg::OnDestroy(WPARAM, LPARAM) {
    GdiHandle eye(
        reinterpret_cast<HGDIOBJ>(SendDlgItemMessage(Hwnd(), IDC_ABOUT_EYE, STM_SETIMAGE, IMAGE_BITMAP, 0)));
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
