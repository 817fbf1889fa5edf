// The context menu as the system sees it: the items, their ids and texts,
// with nothing greyed or checked.
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
};

Item ItemAt(HMENU menu, int position) {
    wchar_t text[64] = {};
    GetMenuString(menu, position, text, std::size(text), MF_BYPOSITION);
    UINT state = GetMenuState(menu, position, MF_BYPOSITION);
    bool separator = (state & MF_SEPARATOR) != 0;
    // The system reports separators as disabled; the commands must not be.
    if (!separator) {
        EXPECT_FALSE(state & (MF_GRAYED | MF_DISABLED | MF_CHECKED)) << position;
    }
    return {GetMenuItemID(menu, position), Narrow(text), separator};
}

}  // namespace

TEST(ContextMenu, BuildsTheItemsForEachWayInAndTimerState) {
    struct Case {
        MenuSource source;
        bool stopped;
        UINT helpId;
        const char* timerText;
    };
    for (Case c : {Case{MenuSource::kWindow, false, 101, "Остановить таймер"},
                   Case{MenuSource::kNotifyIcon, true, 102, "Запустить таймер"}}) {
        MenuHandle menu = BuildContextMenu(c.source, c.stopped);
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
    }
}
