// The label's painting: off screen, in its colours or the system's in a
// high-contrast theme, with its focus rectangle.

#include "controls/Label.h"
#include "core/LabelLayout.h"
#include "framework/Text.h"

// The core repeats these numbers so that it builds without the platform.
static_assert(DT_LEFT == label::kDtLeft && DT_CENTER == label::kDtCenter && DT_RIGHT == label::kDtRight &&
              DT_VCENTER == label::kDtVCenter && DT_WORDBREAK == label::kDtWordBreak &&
              DT_SINGLELINE == label::kDtSingleLine);
static_assert(SS_CENTER == label::kSsCenter && SS_RIGHT == label::kSsRight &&
              SS_LEFTNOWORDWRAP == label::kSsLeftNoWordWrap && SS_TYPEMASK == label::kSsTypeMask &&
              SS_CENTERIMAGE == label::kSsCenterImage);

namespace {

HBRUSH AsBrush(const GdiHandle& h) { return static_cast<HBRUSH>(h.Get()); }

}  // namespace

LRESULT CLabel::OnPaint(WPARAM, LPARAM) {
    PaintDc paint(Hwnd());
    RECT client{};
    GetClientRect(Hwnd(), &client);
    if (m_bTransparent) {
        Paint(paint.Get(), client);
        return 0;
    }
    // Drawn off screen and copied in one go, so the text never flickers.
    const int width = client.right - client.left, height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return 0;
    MemoryDcHandle memory(CreateCompatibleDC(paint.Get()));
    GdiHandle bitmap(CreateCompatibleBitmap(paint.Get(), width, height));
    if (!memory || !bitmap) return 0;
    Selection selected(memory.Get(), bitmap.Get());
    Paint(memory.Get(), client);
    BitBlt(paint.Get(), client.left, client.top, width, height, memory.Get(), 0, 0, SRCCOPY);
    return 0;
}

void CLabel::Paint(HDC dc, const RECT& client) {
    const std::wstring text = Widen(m_strText);
    const int length = static_cast<int>(text.size());
    // A high-contrast theme chooses the colours: the system's text on the
    // system's face, as the dialog's own texts have, a link in the system's
    // link colour. The label's own colours come back when the theme goes.
    const COLORREF colour =
        m_bHighContrast ? GetSysColor(m_bLink ? COLOR_HOTLIGHT : COLOR_WINDOWTEXT) : m_crText;
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF previousColour = ::SetTextColor(dc, colour);
    Selection font(dc, m_font.Get());

    if (!m_bTransparent) {
        if (m_bHighContrast)
            FillRect(dc, &client, AsBrush(m_brDefault));  // the system's face, renewed with the colours
        else if (m_bGradient)
            FillGradient(dc, client);
        else
            FillRect(dc, &client, m_brBackground ? AsBrush(m_brBackground) : AsBrush(m_brDefault));
    }
    // The dark phase of flashing text: it vanishes into its background.
    if (m_nFlashKind == kFlashText && !m_bFlashPhase && m_brBackground)
        ::SetTextColor(dc, m_bHighContrast ? GetSysColor(COLOR_BTNFACE) : m_crBackground);

    if (m_bRotation) {
        // Turned text about the middle: the format of straight text does not
        // apply to it.
        const UINT previousAlign = SetTextAlign(dc, TA_LEFT | TA_BASELINE);
        POINT previousOrigin{};
        SetViewportOrgEx(dc, (client.right - client.left) / 2, (client.bottom - client.top) / 2,
                         &previousOrigin);
        TextOut(dc, 0, 0, text.c_str(), length);
        SetViewportOrgEx(dc, previousOrigin.x, previousOrigin.y, nullptr);
        SetTextAlign(dc, previousAlign);
    } else {
        const UINT format =
            LabelTextFormat(static_cast<uint32_t>(GetWindowLong(Hwnd(), GWL_STYLE)), m_strText);
        RECT r = client;
        DrawText(dc, text.c_str(), length, &r, format);
        // The offset copy is decoration that would only blur the text in a
        // theme made for reading.
        if (m_bText3D && !m_bHighContrast) {
            ::SetTextColor(dc, m_crHighlight);
            const int offset = m_bRaised ? 1 : -1;
            OffsetRect(&r, offset, offset);
            DrawText(dc, text.c_str(), length, &r, format);
        }
        if (ShowsFocus()) DrawFocus(dc, text, client, format);
    }
    SetBkMode(dc, previousMode);
    ::SetTextColor(dc, previousColour);
}

// A link with the keyboard focus says so, unless the dialog hides focus
// cues until the keyboard is used (Windows' setting for mouse users).
bool CLabel::ShowsFocus() const {
    return m_bLink && GetFocus() == Hwnd() && !(SendMessage(Hwnd(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

// The focus rectangle goes round the text where the format puts it, one
// pixel out, within the label.
void CLabel::DrawFocus(HDC dc, const std::wstring& text, const RECT& client, UINT format) {
    RECT measured = client;
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
    const int width = measured.right - measured.left, height = measured.bottom - measured.top;
    int left = client.left, top = client.top;
    if (format & DT_CENTER)
        left += (client.right - client.left - width) / 2;
    else if (format & DT_RIGHT)
        left = client.right - width;
    if ((format & DT_VCENTER) && (format & DT_SINGLELINE)) top += (client.bottom - client.top - height) / 2;
    RECT around{left - 1, top - 1, left + width + 1, top + height + 1};
    IntersectRect(&around, &around, &client);
    DrawFocusRect(dc, &around);
}

void CLabel::FillGradient(HDC dc, const RECT& r) {
    Selection pen(dc, GetStockObject(NULL_PEN));
    for (const GradientBand& band : GradientBands(r.left, r.right, m_crBackground, m_crSecond)) {
        GdiHandle brush(CreateSolidBrush(RGB(band.r, band.g, band.b)));
        Selection selected(dc, brush.Get());
        Rectangle(dc, band.left, r.top, band.right, r.bottom);
    }
}

LRESULT CLabel::OnEraseBkgnd(WPARAM, LPARAM) {
    return 1;  // the paint covers everything
}
