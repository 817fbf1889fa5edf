// The label on a real static control: what it paints, the font it builds,
// and what a click on a link tells the parent.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "controls/Label.h"
#include "framework/Accessible.h"
#include "framework/Handles.h"
#include "tests/support/WinTestSupport.h"

namespace {

constexpr int kId = 1005;
constexpr char kHostClass[] = "LumeyraLabelTestHost";

// What the parent heard from its child.
struct Heard {
    UINT message;
    WPARAM wParam;
    HWND from;  // WM_NOTIFY's sender, WM_COMMAND's lParam
    UINT code;  // WM_NOTIFY's code
    bool operator==(const Heard&) const = default;
};

LRESULT CALLBACK HostProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(
            hwnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* heard = reinterpret_cast<std::vector<Heard>*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (heard && message == WM_COMMAND)
        heard->push_back({message, wParam, reinterpret_cast<HWND>(lParam), 0});
    if (heard && message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        EXPECT_EQ(header->idFrom, static_cast<UINT_PTR>(kId));
        heard->push_back({message, wParam, header->hwndFrom, header->code});
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void DestroyWindowOf(HWND h) { DestroyWindow(h); }
using WindowHandle = Owner<HWND, DestroyWindowOf>;

// A visible top-level window with one static child (id 1005) in a
// semi-bold 13-pixel Arial, as a dialog would give it.
class Host {
public:
    explicit Host(DWORD style = SS_LEFT) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = HostProcedure;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kHostClass;
        RegisterClassA(&wc);  // fails harmlessly once registered
        m_parent.Reset(CreateWindowExA(0, kHostClass, "Label test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                       520, 220, nullptr, nullptr, wc.hInstance, &heard));
        m_static = CreateWindowExA(0, "STATIC", "00:00:00", WS_CHILD | WS_VISIBLE | style, 10, 10, 440, 100,
                                   m_parent.Get(), reinterpret_cast<HMENU>(kId), wc.hInstance, nullptr);
        SendMessageA(m_static, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
        UpdateWindow(m_parent.Get());
    }
    HWND Static() const { return m_static; }
    void Destroy() { m_parent.Reset(); }

    std::vector<Heard> heard;

private:
    GdiHandle m_font{CreateFontA(-13, 0, 0, 0, FW_SEMIBOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial")};
    WindowHandle m_parent;
    HWND m_static = nullptr;
};

std::string WindowText(HWND hwnd) {
    char text[64] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

LOGFONTA Described(HFONT font) {
    LOGFONTA lf{};
    EXPECT_EQ(GetObjectA(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
    return lf;
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// The pixels of a window's client area as it shows them.
class Capture {
public:
    explicit Capture(HWND hwnd) {
        Pump();
        // What the label paints now, not what an earlier paint left.
        InvalidateRect(hwnd, nullptr, TRUE);
        UpdateWindow(hwnd);
        RECT r{};
        GetClientRect(hwnd, &r);
        m_image = testsupport::Capture(hwnd, r);
        if (m_image.pixels.empty()) ADD_FAILURE() << "no bitmap to capture into";
    }
    COLORREF At(int x, int y) const {
        return AsColorRef(m_image.pixels.at(static_cast<size_t>(y * m_image.width + x)));
    }
    int Count(COLORREF colour) const {
        int n = 0;
        for (uint32_t p : m_image.pixels) n += AsColorRef(p) == colour;
        return n;
    }

private:
    // The bitmap holds 0x00RRGGBB; a COLORREF is 0x00BBGGRR.
    static COLORREF AsColorRef(uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

    testsupport::Image m_image;
};

const COLORREF kDarkGreen = RGB(10, 100, 10);

// The windows whose client area said, as a screen reader hears it, that its
// name changed.
std::vector<HWND> g_renamed;

void CALLBACK NoteRename(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT && child == CHILDID_SELF) g_renamed.push_back(hwnd);
}

TEST(Label, TakesTheControlsTextAndFontAndPaintsTheTextItself) {
    Host host(SS_CENTER | SS_CENTERIMAGE);
    CLabel label;
    ASSERT_TRUE(label.Subclass(host.Static()));
    EXPECT_EQ(WindowText(host.Static()), "");
    EXPECT_EQ(label.Text(), "00:00:00");
    LOGFONTA copied = Described(label.Font());
    EXPECT_STREQ(copied.lfFaceName, "Arial");
    EXPECT_EQ(copied.lfHeight, -13);
    EXPECT_EQ(copied.lfWeight, FW_SEMIBOLD);

    label.SetFaceName("Courier", ANSI_CHARSET).SetPointSize(45).SetTextColor(kDarkGreen);
    Capture clock(host.Static());
    // Wine draws "Courier" from a bitmap strike, small whatever the size.
    EXPECT_GT(clock.Count(kDarkGreen), 100) << "the time should be drawn in dark green";
    EXPECT_EQ(clock.At(0, 0), GetSysColor(COLOR_BTNFACE));

    g_renamed.clear();
    HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, NoteRename,
                        GetCurrentProcessId(), GetCurrentThreadId(), WINEVENT_OUTOFCONTEXT);
    label.SetText("00:00:01");
    label.SetText("00:00:01");
    Pump();
    UnhookWinEvent(hook);
    EXPECT_EQ(g_renamed, std::vector<HWND>{host.Static()}) << "one new text, one name change";
    EXPECT_EQ(label.Text(), "00:00:01");
    EXPECT_EQ(WindowText(host.Static()), "") << "the control must not draw the text a second time";
    label.SetText("");
    EXPECT_EQ(Capture(host.Static()).Count(kDarkGreen), 0);
}

TEST(Label, FlashingTextVanishesIntoItsBackgroundEveryOtherTick) {
    Host host;
    CLabel label;
    ASSERT_TRUE(label.Subclass(host.Static()));
    const COLORREF sky = RGB(200, 220, 240);
    label.SetPointSize(30).SetTextColor(kDarkGreen).SetBackground(sky).FlashText(true);
    KillTimer(label.Hwnd(), 1);  // the test ticks by itself
    Capture hidden(host.Static());
    EXPECT_EQ(hidden.Count(kDarkGreen), 0);
    EXPECT_EQ(hidden.At(1, 1), sky);
    SendMessageA(label.Hwnd(), WM_TIMER, 1, 0);
    EXPECT_GT(Capture(host.Static()).Count(kDarkGreen), 100);
    SendMessageA(label.Hwnd(), WM_TIMER, 1, 0);
    EXPECT_EQ(Capture(host.Static()).Count(kDarkGreen), 0);
    label.FlashText(false);
    EXPECT_GT(Capture(host.Static()).Count(kDarkGreen), 100) << "stopped flashing shows the text for good";
}

TEST(Label, FontSettersChangeOnlyTheirPartOfTheDescription) {
    Host host;
    CLabel label;
    ASSERT_TRUE(label.Subclass(host.Static()));
    WindowDc screen(nullptr);
    const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);

    label.SetBold(false);
    EXPECT_EQ(Described(label.Font()).lfWeight, FW_NORMAL);
    label.SetBold(true).SetPointSize(45).SetItalic(true).SetUnderline(true);
    LOGFONTA lf = Described(label.Font());
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfHeight, -MulDiv(45, dpi, 72));
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_TRUE(lf.lfUnderline);
    EXPECT_STREQ(lf.lfFaceName, "Arial");

    const std::string longName(40, 'x');
    label.SetFaceName("Courier", RUSSIAN_CHARSET).SetFaceName(longName, RUSSIAN_CHARSET);
    lf = Described(label.Font());
    EXPECT_EQ(std::string(lf.lfFaceName), longName.substr(0, 31));
    EXPECT_EQ(lf.lfCharSet, RUSSIAN_CHARSET);
    EXPECT_EQ(lf.lfHeight, -MulDiv(45, dpi, 72));

    // Dragged to a monitor at twice the scale, then to one at 150 %: the
    // font follows each, and a size set there is for that monitor.
    UINT monitor = 2 * static_cast<UINT>(dpi);
    label.m_windowDpi = [&](HWND) { return monitor; };
    SendMessageA(host.Static(), WM_DPICHANGED_AFTERPARENT, 0, 0);
    EXPECT_EQ(Described(label.Font()).lfHeight, -2 * MulDiv(45, dpi, 72));
    monitor = 144;
    SendMessageA(host.Static(), WM_DPICHANGED_AFTERPARENT, 0, 0);
    EXPECT_EQ(Described(label.Font()).lfHeight, -MulDiv(2 * MulDiv(45, dpi, 72), 144, 2 * dpi));
    label.SetPointSize(12);
    EXPECT_EQ(Described(label.Font()).lfHeight, -MulDiv(12, 144, 72));
    EXPECT_EQ(Described(label.Font()).lfWeight, FW_BOLD);
}

void Click(HWND hwnd) { SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }

TEST(Label, LinkThatOpensNothingReachesTheDialogOnlyAsAClick) {
    Host host;
    CLabel label;
    ASSERT_TRUE(label.Subclass(host.Static()));
    label.m_bNoOpen = true;
    label.SetLink(true, false).SetLinkTarget("");
    EXPECT_TRUE(GetWindowLongA(host.Static(), GWL_STYLE) & SS_NOTIFY);
    Click(host.Static());
    const Heard click{WM_COMMAND, MAKEWPARAM(kId, STN_CLICKED), host.Static(), 0};
    EXPECT_EQ(host.heard, std::vector<Heard>{click});

    label.SetLink(false, false);
    EXPECT_FALSE(GetWindowLongA(host.Static(), GWL_STYLE) & SS_NOTIFY);
    host.heard.clear();
    Click(host.Static());
    EXPECT_TRUE(host.heard.empty()) << "a plain label does not report clicks";
}

// Without a mouse: the link is a tab stop, says that it has the focus, and
// Enter and the space bar open it as a click does.
TEST(Label, KeyboardReachesAndOpensALink) {
    Host host;
    CLabel label;
    ASSERT_TRUE(label.Subclass(host.Static()));
    label.m_bNoOpen = true;
    label.SetLink(true, false);
    EXPECT_TRUE(GetWindowLongA(host.Static(), GWL_STYLE) & WS_TABSTOP);

    // In a dialog Enter is the link's rather than the default button's; Tab
    // and Escape stay the dialog's.
    auto wants = [&](WPARAM key) {
        MSG press{host.Static(), WM_KEYDOWN, key, 0, 0, {}};
        return (SendMessageA(host.Static(), WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&press)) &
                DLGC_WANTMESSAGE) != 0;
    };
    EXPECT_TRUE(wants(VK_RETURN));
    EXPECT_FALSE(wants(VK_TAB));
    EXPECT_FALSE(wants(VK_ESCAPE));

    const LPARAM held = 1 << 30;  // the key was down already: a repeat
    SendMessageA(host.Static(), WM_KEYDOWN, VK_RETURN, 1);
    SendMessageA(host.Static(), WM_KEYDOWN, VK_SPACE, 1);
    SendMessageA(host.Static(), WM_KEYDOWN, VK_SPACE, 1 | held);
    const Heard click{WM_COMMAND, MAKEWPARAM(kId, STN_CLICKED), host.Static(), 0};
    EXPECT_EQ(host.heard, (std::vector<Heard>{click, click})) << "Enter and space click; held, once";

    // The focus rectangle's dots take the place of some of the face.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const int unfocused = Capture(host.Static()).Count(face);
    SetFocus(host.Static());
    EXPECT_LT(Capture(host.Static()).Count(face), unfocused - 20) << "no focus rectangle";
    SetFocus(nullptr);
    EXPECT_EQ(Capture(host.Static()).Count(face), unfocused);

    label.SetLink(false, false);
    EXPECT_FALSE(GetWindowLongA(host.Static(), GWL_STYLE) & WS_TABSTOP);
    host.heard.clear();
    SendMessageA(host.Static(), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_TRUE(host.heard.empty()) << "a plain label is no link to open";
}

TEST(Label, LinkNotifyingItsParentSaysSoBeforeTheClick) {
    Host host;
    CLabel label;
    ASSERT_TRUE(label.Subclass(host.Static()));
    label.SetLink(true, true);
    Click(host.Static());
    const std::vector<Heard> expected{
        {WM_NOTIFY, kId, host.Static(), CLabel::kLinkClicked},
        {WM_COMMAND, MAKEWPARAM(kId, STN_CLICKED), host.Static(), 0},
    };
    EXPECT_EQ(host.heard, expected);
}

LRESULT SetCursorOver(HWND hwnd) {
    return SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd),
                        MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

// Pumps this thread's messages until `done` holds; false after the deadline.
template <class Done>
bool PumpUntil(Done done) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > 10000) return false;
        Pump();
        Sleep(20);
    }
    return true;
}

TEST(Label, LinkCursorReplacesTheSystemsUntilTheLabelIsGone) {
    Host host;
    const HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);  // the static control's class cursor
    const HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
    const HCURSOR beam = LoadCursor(nullptr, IDC_IBEAM);
    {
        CLabel label;
        ASSERT_TRUE(label.Subclass(host.Static()));
        SetCursor(beam);
        SetCursorOver(host.Static());
        EXPECT_EQ(GetCursor(), arrow) << "no link cursor: the system chooses";
        label.SetLinkCursor(hand);
        SetCursor(beam);
        EXPECT_EQ(SetCursorOver(host.Static()), TRUE) << "the system's cursor handling must be skipped";
        EXPECT_EQ(GetCursor(), hand);

        // The pointer itself over a link label (which takes the mouse only
        // with SS_NOTIFY) shows the link cursor.
        label.SetLink(true, false);
        RECT r{};
        GetWindowRect(host.Static(), &r);
        SetCursorPos(0, 0);
        Pump();
        SetCursor(beam);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        EXPECT_TRUE(PumpUntil([&] { return GetCursor() == hand; })) << "no link cursor over the link";
    }
    // The label died before its window: the control is its own again.
    SetCursor(beam);
    SetCursorOver(host.Static());
    EXPECT_EQ(GetCursor(), arrow);
}

TEST(Label, LetsGoOfItsWindowWhenTheWindowIsDestroyed) {
    Host host;
    CLabel label;
    ASSERT_TRUE(label.Subclass(host.Static()));
    label.FlashBackground(true);
    host.Destroy();
    EXPECT_EQ(label.Hwnd(), nullptr);
    label.SetText("after").SetPointSize(20);  // nothing left to repaint
    EXPECT_EQ(label.Text(), "after");
}

// A screen reader may keep the label's object after the dialog has gone:
// from then on it answers that it is no longer connected, rather than ask
// about a dead window, or another that took its handle.
TEST(Label, AccessibleObjectOutlivingItsWindowIsNotConnected) {
    ComApartment apartment;
    Host host;
    CLabel label;
    ASSERT_TRUE(label.Subclass(host.Static()));
    label.SetText("Пароль");
    IAccessible* raw = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(host.Static(), static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                         reinterpret_cast<void**>(&raw)),
              S_OK);
    ComOwner<IAccessible> object(raw);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    LONG left = 0, top = 0, width = 0, height = 0;
    EXPECT_EQ(object.Get()->accLocation(&left, &top, &width, &height, self), S_OK);
    host.Destroy();
    BSTR name = nullptr;
    EXPECT_EQ(object.Get()->get_accName(self, &name), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(name, nullptr);
    // What the system's object for the window would have answered.
    EXPECT_EQ(object.Get()->accLocation(&left, &top, &width, &height, self), CO_E_OBJNOTCONNECTED);
    IDispatch* parent = nullptr;
    EXPECT_EQ(object.Get()->get_accParent(&parent), CO_E_OBJNOTCONNECTED);
}

}  // namespace
