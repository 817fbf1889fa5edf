#include "controls/Label.h"

#include <shellapi.h>

#include <algorithm>

#include "framework/Text.h"
#include "framework/WindowStyle.h"
#include "framework/WindowText.h"

namespace {

constexpr UINT_PTR kFlashTimerId = 1;
constexpr UINT kFlashMs = 500;

}  // namespace

CLabel::CLabel()
    : m_crText(GetSysColor(COLOR_WINDOWTEXT)), m_brDefault(CreateSolidBrush(GetSysColor(COLOR_BTNFACE))) {}

CLabel::~CLabel() {
    // The window may outlive the label; its timer should not.
    if (m_bFlashTimer && Hwnd()) KillTimer(Hwnd(), kFlashTimerId);
    DisconnectAccessible();
}

bool CLabel::SystemHighContrast() {
    HIGHCONTRAST theme{};
    theme.cbSize = sizeof theme;
    return SystemParametersInfo(SPI_GETHIGHCONTRAST, sizeof theme, &theme, 0) &&
           (theme.dwFlags & HCF_HIGHCONTRASTON);
}

std::span<const CLabel::Message> CLabel::Messages() {
    static constexpr Message table[] = {
        {WM_PAINT, &CLabel::OnPaint},
        {WM_ERASEBKGND, &CLabel::OnEraseBkgnd},
        {WM_LBUTTONDOWN, &CLabel::OnLButtonDown},
        {WM_SETCURSOR, &CLabel::OnSetCursor},
        {WM_SYSCOLORCHANGE, &CLabel::OnSysColorChange},
        {WM_TIMER, &CLabel::OnTimer},
        {WM_SETTINGCHANGE, &CLabel::OnSettingChange},
        {WM_GETOBJECT, &CLabel::OnGetObject},
        {WM_GETDLGCODE, &CLabel::OnGetDlgCode},
        {WM_KEYDOWN, &CLabel::OnKeyDown},
        {WM_SETFOCUS, &CLabel::OnFocusCueChange},
        {WM_KILLFOCUS, &CLabel::OnFocusCueChange},
        {WM_UPDATEUISTATE, &CLabel::OnFocusCueChange},
        {kPostedClick, &CLabel::OnPostedClick},
        {WM_NCDESTROY, &CLabel::OnNcDestroy},
        {WM_DPICHANGED_AFTERPARENT, &CLabel::OnDpiChanged},
    };
    return table;
}

void CLabel::OnAttached() {
    // The text moves into the label: the control itself would otherwise draw
    // it as well, in its own font.
    m_strText = WindowText(Hwnd());
    SetWindowText(Hwnd(), L"");

    // A control without a font of its own draws with the system font.
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessage(Hwnd(), WM_GETFONT, 0, 0));
    GetObject(font ? font : GetStockObject(SYSTEM_FONT), sizeof m_lf, &m_lf);
    m_nDpi = m_windowDpi(Hwnd());
    RebuildFont();
    m_bHighContrast = m_highContrast();
}

CLabel& CLabel::SetBackground(COLORREF colour, COLORREF second, bool gradient) {
    m_crBackground = colour;
    m_crSecond = second;
    m_bGradient = gradient;
    m_brBackground.Reset();
    if (!gradient) m_brBackground.Reset(CreateSolidBrush(colour));
    Repaint();
    return *this;
}

CLabel& CLabel::SetTextColor(COLORREF colour) {
    m_crText = colour;
    Repaint();
    return *this;
}

CLabel& CLabel::SetText(const std::string& text) {
    const bool changed = text != m_strText;
    m_strText = text;
    Repaint();
    // A screen reader showing the label (the rest timer's clock) reads it
    // anew.
    if (changed && Hwnd()) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, Hwnd(), OBJID_CLIENT, CHILDID_SELF);
    return *this;
}

CLabel& CLabel::SetBold(bool bold) {
    m_lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    RebuildFont();
    Repaint();
    return *this;
}

CLabel& CLabel::SetFaceName(const std::string& face, BYTE charset) {
    m_lf.lfCharSet = charset;
    const std::wstring wide = Widen(face);
    const size_t length = std::min(wide.size(), std::size(m_lf.lfFaceName) - 1);
    wide.copy(m_lf.lfFaceName, length);
    m_lf.lfFaceName[length] = L'\0';
    RebuildFont();
    Repaint();
    return *this;
}

CLabel& CLabel::SetUnderline(bool underline) {
    m_lf.lfUnderline = underline;
    RebuildFont();
    Repaint();
    return *this;
}

CLabel& CLabel::SetItalic(bool italic) {
    m_lf.lfItalic = italic;
    RebuildFont();
    Repaint();
    return *this;
}

CLabel& CLabel::SetPointSize(int points) {
    // At the scale of the monitor the label stands on.
    m_nDpi = m_windowDpi(Hwnd());
    m_lf.lfHeight = -MulDiv(points, static_cast<int>(m_nDpi), 72);
    m_lf.lfWidth = 0;
    RebuildFont();
    Repaint();
    return *this;
}

CLabel& CLabel::SetSunken(bool sunken) {
    SetStyleBits(Hwnd(), GWL_EXSTYLE, WS_EX_STATICEDGE, sunken);
    RecalculateFrame();
    return *this;
}

CLabel& CLabel::SetBorder(bool border) {
    SetStyleBits(Hwnd(), GWL_STYLE, WS_BORDER, border);
    RecalculateFrame();
    return *this;
}

CLabel& CLabel::SetTransparent(bool transparent) {
    m_bTransparent = transparent;
    // Kept either way: the parent then always paints first beneath.
    SetStyleBits(Hwnd(), GWL_EXSTYLE, WS_EX_TRANSPARENT, true);
    Repaint();
    return *this;
}

CLabel& CLabel::FlashText(bool flash) {
    Flash(flash, kFlashText);
    return *this;
}

CLabel& CLabel::FlashBackground(bool flash) {
    Flash(flash, kFlashBackground);
    return *this;
}

CLabel& CLabel::SetLink(bool link, bool notifyParent) {
    SetStyleBits(Hwnd(), GWL_STYLE, SS_NOTIFY | WS_TABSTOP, link);
    m_bLink = link;
    m_bNotifyParent = notifyParent;
    return *this;
}

CLabel& CLabel::SetLinkCursor(HCURSOR cursor) {
    m_hLinkCursor = cursor;
    return *this;
}

CLabel& CLabel::SetText3D(bool on, bool raised) {
    m_bText3D = on;
    m_bRaised = raised;
    Repaint();
    return *this;
}

CLabel& CLabel::SetRotation(int degrees, bool on) {
    m_lf.lfEscapement = m_lf.lfOrientation = degrees * 10;
    m_bRotation = on;
    RebuildFont();
    Repaint();
    return *this;
}

CLabel& CLabel::SetHighlightColor(COLORREF colour) {
    m_crHighlight = colour;
    Repaint();
    return *this;
}

void CLabel::RecalculateFrame() {
    // Frame styles take effect only once the frame is recalculated.
    if (Hwnd())
        SetWindowPos(Hwnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

// The dialog moved to a monitor of another scale and has scaled its own
// font and controls; the label's font follows by the same factor.
LRESULT CLabel::OnDpiChanged(WPARAM, LPARAM) {
    const UINT dpi = m_windowDpi(Hwnd());
    if (dpi && m_nDpi && dpi != m_nDpi) {
        m_lf.lfHeight = MulDiv(m_lf.lfHeight, static_cast<int>(dpi), static_cast<int>(m_nDpi));
        m_lf.lfWidth = MulDiv(m_lf.lfWidth, static_cast<int>(dpi), static_cast<int>(m_nDpi));
        m_nDpi = dpi;
        RebuildFont();
        Repaint();
    }
    return 0;
}

void CLabel::RebuildFont() {
    if (Hwnd()) m_font.Reset(CreateFontIndirect(&m_lf));
}

void CLabel::Flash(bool on, int kind) {
    if (m_bFlashTimer && Hwnd()) KillTimer(Hwnd(), kFlashTimerId);
    if (on) {
        m_bFlashPhase = false;
        m_bFlashTimer = true;
        if (Hwnd()) SetTimer(Hwnd(), kFlashTimerId, kFlashMs, nullptr);
        m_nFlashKind = kind;
    } else if (kind == kFlashText) {
        m_nFlashKind = kFlashNone;
    }
}

// The label and the part of its parent beneath it, at once: a transparent
// label shows what the parent paints there.
void CLabel::Repaint() {
    if (!Hwnd()) return;
    RECT r{};
    GetWindowRect(Hwnd(), &r);
    RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HWND parent = GetParent(Hwnd());
    if (!parent) return;
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    InvalidateRect(parent, &r, TRUE);
    UpdateWindow(parent);
}

void CLabel::OpenLink() {
    const int id = GetDlgCtrlID(Hwnd());
    if (m_bNotifyParent) {
        NMHDR header{Hwnd(), static_cast<UINT_PTR>(id), kLinkClicked};
        SendMessage(GetParent(Hwnd()), WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&header));
    } else if (!m_bNoOpen) {
        // Nothing to tell the user when no program takes the target.
        ShellExecute(nullptr, L"open", Widen(m_strLinkTarget).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
}

LRESULT CLabel::OnLButtonDown(WPARAM, LPARAM) {
    OpenLink();
    PassOn();  // the static control tells its dialog of the click
    return 0;
}

void CLabel::Click() {
    OpenLink();
    // What the static control sends on a mouse click.
    SendMessage(GetParent(Hwnd()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Hwnd()), STN_CLICKED),
                reinterpret_cast<LPARAM>(Hwnd()));
}

void CLabel::PostClick() {
    if (Hwnd()) PostMessage(Hwnd(), kPostedClick, 0, 0);
}

LRESULT CLabel::OnPostedClick(WPARAM, LPARAM) {
    // Disabled since the request was posted: nothing happens.
    if (m_bLink && IsWindowEnabled(Hwnd())) Click();
    return 0;
}

// Enter on a link is the link's, not the dialog's default button's; Tab and
// Escape stay the dialog's.
LRESULT CLabel::OnGetDlgCode(WPARAM, LPARAM lParam) {
    const auto* key = reinterpret_cast<const MSG*>(lParam);
    if (m_bLink && key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
        return DLGC_WANTMESSAGE | DLGC_STATIC;
    PassOn();
    return 0;
}

LRESULT CLabel::OnKeyDown(WPARAM key, LPARAM flags) {
    // A key held down repeats: one press, one click.
    const bool repeated = flags & (1 << 30);
    if (m_bLink && (key == VK_RETURN || key == VK_SPACE)) {
        if (!repeated) Click();
        return 0;
    }
    PassOn();
    return 0;
}

// The focus rectangle comes and goes with the focus and with the dialog's
// focus cues; painted later, once the system has noted the change.
LRESULT CLabel::OnFocusCueChange(WPARAM, LPARAM) {
    if (m_bLink) InvalidateRect(Hwnd(), nullptr, FALSE);
    PassOn();
    return 0;
}

LRESULT CLabel::OnSetCursor(WPARAM, LPARAM) {
    if (!m_hLinkCursor) {
        PassOn();
        return 0;
    }
    SetCursor(m_hLinkCursor);
    return TRUE;
}

LRESULT CLabel::OnSysColorChange(WPARAM, LPARAM) {
    m_brDefault.Reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    m_bHighContrast = m_highContrast();
    Repaint();
    return 0;
}

// Switching a high-contrast theme on or off changes the settings and the
// colours both; either message may come first.
LRESULT CLabel::OnSettingChange(WPARAM, LPARAM) {
    FollowHighContrast();
    PassOn();
    return 0;
}

void CLabel::FollowHighContrast() {
    const bool on = m_highContrast();
    if (on == m_bHighContrast) return;
    m_bHighContrast = on;
    Repaint();
}

// Only the client area is the label's to describe; the window around it is
// the system's.
LRESULT CLabel::OnGetObject(WPARAM wParam, LPARAM lParam) {
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) {
        PassOn();
        return 0;
    }
    if (!m_accessible) {
        IAccessible* standard = nullptr;
        if (FAILED(CreateStdAccessibleObject(Hwnd(), OBJID_CLIENT, kIidAccessible,
                                             reinterpret_cast<void**>(&standard)))) {
            PassOn();
            return 0;
        }
        m_accessible.Reset(new CLabelAccessible(*this, standard));
    }
    return LresultFromObject(kIidAccessible, wParam, m_accessible.Get());
}

LRESULT CLabel::OnNcDestroy(WPARAM, LPARAM) {
    DisconnectAccessible();
    PassOn();
    return 0;
}

void CLabel::DisconnectAccessible() {
    if (!m_accessible) return;
    m_accessible.Get()->Disconnect();
    m_accessible.Reset();
}

LRESULT CLabel::OnTimer(WPARAM, LPARAM) {
    m_bFlashPhase = !m_bFlashPhase;
    Repaint();
    return 0;
}
