// The context menu as the system sees it: the items, their ids and texts,
// nothing checked, and greyed only what the policies forbid.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/ContextMenu.h"
#include "framework/Text.h"

namespace {

struct Item {
    UINT id;
    std::string text;
    bool separator;
    bool grayed;
};

Item ItemAt(HMENU menu, int position) {
    wchar_t text[64] = {};
    GetMenuString(menu, position, text, std::size(text), MF_BYPOSITION);
    UINT state = GetMenuState(menu, position, MF_BYPOSITION);
    bool separator = (state & MF_SEPARATOR) != 0;
    EXPECT_FALSE(state & MF_CHECKED) << position;
    // The system reports separators as disabled too.
    return {GetMenuItemID(menu, position), Narrow(text), separator, !separator && (state & MF_GRAYED) != 0};
}

}  // namespace

TEST(ContextMenu, BuildsTheItemsForEachWayInAndTimerState) {
    struct Case {
        MenuSource source;
        bool stopped;
        UINT helpId;
        const char* timerText;
        MenuAllowed allowed;
    };
    for (Case c : {Case{MenuSource::kWindow, false, 101, "Остановить таймер", {}},
                   Case{MenuSource::kNotifyIcon, true, 102, "Запустить таймер", {}},
                   Case{MenuSource::kNotifyIcon, false, 102, "Остановить таймер", {false, false}}}) {
        const bool policies = !c.allowed.stopTimer;
        MenuHandle menu = BuildContextMenu(c.source, c.stopped, c.allowed);
        ASSERT_EQ(GetMenuItemCount(menu.Get()), 7);
        EXPECT_EQ(ItemAt(menu.Get(), 0).text, "About...");
        EXPECT_EQ(ItemAt(menu.Get(), 0).id, 32775u);
        EXPECT_EQ(ItemAt(menu.Get(), 1).text, "Помощь");
        EXPECT_EQ(ItemAt(menu.Get(), 1).id, c.helpId);
        EXPECT_TRUE(ItemAt(menu.Get(), 2).separator);
        EXPECT_EQ(ItemAt(menu.Get(), 3).text, c.timerText);
        EXPECT_EQ(ItemAt(menu.Get(), 3).id, 103u);
        EXPECT_EQ(ItemAt(menu.Get(), 4).text, "Настройки");
        EXPECT_EQ(ItemAt(menu.Get(), 4).id, 170u);
        EXPECT_TRUE(ItemAt(menu.Get(), 5).separator);
        EXPECT_EQ(ItemAt(menu.Get(), 6).text, "Завершить роботу");
        EXPECT_EQ(ItemAt(menu.Get(), 6).id, 32772u);
        for (int position : {0, 1, 4}) EXPECT_FALSE(ItemAt(menu.Get(), position).grayed) << position;
        EXPECT_EQ(ItemAt(menu.Get(), 3).grayed, policies);
        EXPECT_EQ(ItemAt(menu.Get(), 6).grayed, policies);
    }
}

namespace {

// The owner's view of a menu it shows: whether it is open, and the WM_NULL
// messages that reach it once it has closed.
struct OwnerLog {
    bool menuOpen = false;
    int nullsAfterMenu = 0;
};

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* log = reinterpret_cast<OwnerLog*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!log) return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
        case WM_ENTERMENULOOP:
            log->menuOpen = true;
            break;
        case WM_EXITMENULOOP:
            log->menuOpen = false;
            break;
        case WM_NULL:
            log->nullsAfterMenu += !log->menuOpen;
            break;
        case WM_TIMER:  // the user clicks elsewhere
            KillTimer(hwnd, wParam);
            EndMenu();
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

// A menu shown for a notification icon is followed by a WM_NULL posted to
// its owner; without it Windows may leave the menu open on a click elsewhere
// or close the next one at once. Wine needs none, so the message itself is
// what is checked.
TEST(ContextMenu, OwnerGetsANullMessageOnceTheMenuHasClosed) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LumeyraMenuOwnerTest";
    RegisterClassW(&wc);
    for (MenuSource source : {MenuSource::kWindow, MenuSource::kNotifyIcon}) {
        OwnerLog log;
        HWND owner = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     wc.hInstance, nullptr);
        ASSERT_TRUE(owner);
        SetWindowLongPtrW(owner, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&log));
        SetTimer(owner, 1, 100, nullptr);
        TrackContextMenu(owner, source, false);
        EXPECT_FALSE(log.menuOpen);
        MSG msg;
        while (PeekMessageW(&msg, owner, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        EXPECT_EQ(log.nullsAfterMenu, 1) << static_cast<int>(source);
        DestroyWindow(owner);
    }
}
