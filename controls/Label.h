#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "controls/LabelAccessible.h"
#include "framework/Control.h"
#include "framework/Dpi.h"
#include "framework/Handles.h"

// The program's own static text: a dialog attaches it to one of its static
// controls, and from then on the label paints that control itself with its
// own text, colours and font, off screen so that frequent updates (a clock)
// do not flicker. It can also act as a link: with SS_NOTIFY a click opens
// the link target, or tells the parent, and always reaches the dialog as the
// static control's click notification.
//
// Whoever cannot see it hears it: a screen reader asking the label's window
// (WM_GETOBJECT) reads the text it paints, as static text or as a link, and
// hears when it changes. A link is a tab stop, shows a focus rectangle and
// opens on Enter and on the space bar too. In a high-contrast theme the label
// paints in the system's colours instead of its own.
class CLabel : public CControlImpl<CLabel>, private AccessibleLabel {
public:
    // NMHDR code of the WM_NOTIFY a link label sends its parent on a click
    // when asked to notify it.
    static constexpr UINT kLinkClicked = 0x8200;

    CLabel();
    ~CLabel() override;

    // Each setter returns the label so that a dialog can set one up in a
    // single statement.
    virtual CLabel& SetBackground(COLORREF colour, COLORREF second = 0, bool gradient = false);
    virtual CLabel& SetTextColor(COLORREF colour);
    // The label's text; the control's own window text stays empty.
    virtual CLabel& SetText(const std::string& text);
    virtual CLabel& SetBold(bool bold);
    virtual CLabel& SetFaceName(const std::string& face, BYTE charset);
    virtual CLabel& SetUnderline(bool underline);
    virtual CLabel& SetItalic(bool italic);
    virtual CLabel& SetPointSize(int points);
    virtual CLabel& SetSunken(bool sunken);
    virtual CLabel& SetBorder(bool border);
    virtual CLabel& SetTransparent(bool transparent);
    virtual CLabel& FlashText(bool flash);
    virtual CLabel& FlashBackground(bool flash);
    // SS_NOTIFY on or off: only then do clicks reach the control. A link is
    // also a tab stop, so that the keyboard reaches it.
    virtual CLabel& SetLink(bool link, bool notifyParent);
    // The cursor shown over the label; null: the system's. Not owned.
    virtual CLabel& SetLinkCursor(HCURSOR cursor);
    virtual CLabel& SetText3D(bool on, bool raised);
    virtual CLabel& SetRotation(int degrees, bool on);
    // The colour of the offset copy of 3D text.
    virtual CLabel& SetHighlightColor(COLORREF colour);
    // What a click opens ("mailto:...", an address).
    void SetLinkTarget(const std::string& target) { m_strLinkTarget = target; }
    const std::string& LinkTarget() const { return m_strLinkTarget; }

    const std::string& Text() const override { return m_strText; }
    bool IsLink() const override { return m_bLink; }
    // Does what a click does once the message in hand is done: a screen
    // reader's request must not wait for the dialog a click may open.
    void PostClick() override;
    // The font the label paints with; null until it is attached.
    HFONT Font() const { return static_cast<HFONT>(m_font.Get()); }

    // A click neither opens the target nor notifies: it only reaches the
    // dialog as the click notification.
    bool m_bNoOpen = false;

    // Whether a high-contrast theme is on: the system's answer, asked when
    // the label attaches and whenever the colours or settings change. Tests
    // give their own, since Wine cannot switch such a theme on.
    std::function<bool()> m_highContrast = SystemHighContrast;
    static bool SystemHighContrast();

    // The scale of the window's monitor; tests give their own, since Wine
    // has one scale for every window.
    std::function<UINT(HWND)> m_windowDpi = WindowDpi;

protected:
    void OnAttached() override;

private:
    friend class CControlImpl<CLabel>;
    static std::span<const Message> Messages();

    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnEraseBkgnd(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnSetCursor(WPARAM, LPARAM);
    LRESULT OnSysColorChange(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnSettingChange(WPARAM, LPARAM);
    LRESULT OnGetObject(WPARAM, LPARAM);
    LRESULT OnGetDlgCode(WPARAM, LPARAM);
    LRESULT OnKeyDown(WPARAM, LPARAM);
    LRESULT OnFocusCueChange(WPARAM, LPARAM);
    LRESULT OnPostedClick(WPARAM, LPARAM);
    LRESULT OnNcDestroy(WPARAM, LPARAM);
    LRESULT OnDpiChanged(WPARAM, LPARAM);

    // The message PostClick posts to the label's own window.
    static constexpr UINT kPostedClick = WM_APP;

    void Paint(HDC dc, const RECT& client);
    void DrawFocus(HDC dc, const std::wstring& text, const RECT& client, UINT format);
    bool ShowsFocus() const;
    void FillGradient(HDC dc, const RECT& r);
    void Repaint();
    void RebuildFont();
    void Flash(bool on, int kind);
    void RecalculateFrame();
    // What a click on a link does before the click notification.
    void OpenLink();
    // A click from the keyboard or a screen reader: the link opens and the
    // dialog hears of it as of a mouse click.
    void Click();
    // Asks whether a high-contrast theme is on; repaints when that changed.
    void FollowHighContrast();
    void DisconnectAccessible();
    HWND LabelWindow() const override { return Hwnd(); }

    // Flash kinds.
    static constexpr int kFlashNone = 0;
    static constexpr int kFlashText = 1;
    static constexpr int kFlashBackground = 2;

    std::string m_strText;
    COLORREF m_crText;
    COLORREF m_crHighlight = RGB(255, 255, 255);
    GdiHandle m_brDefault;
    GdiHandle m_brBackground;
    COLORREF m_crBackground = 0;
    COLORREF m_crSecond = 0;
    bool m_bGradient = false;
    LOGFONT m_lf{};
    // The scale m_lf's sizes are for.
    UINT m_nDpi = 96;
    GdiHandle m_font;
    bool m_bTransparent = false;
    bool m_bText3D = false;
    bool m_bRaised = false;
    bool m_bRotation = false;
    int m_nFlashKind = kFlashNone;
    bool m_bFlashPhase = false;
    bool m_bFlashTimer = false;
    bool m_bNotifyParent = false;
    HCURSOR m_hLinkCursor = nullptr;
    std::string m_strLinkTarget;
    bool m_bLink = false;
    bool m_bHighContrast = false;
    // Made on the first request of a screen reader.
    ComOwner<CLabelAccessible> m_accessible;
};
