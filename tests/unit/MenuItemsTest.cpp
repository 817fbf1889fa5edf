#include "core/MenuItems.h"

#include <gtest/gtest.h>

namespace {

TEST(ContextMenu, ItemsFollowTheSourceTheTimerStateAndThePolicies) {
    struct Case {
        MenuSource source;
        bool stopped;
        MenuAllowed allowed;
        uint32_t help;
        std::string_view timerText;
        bool timerGrayed, exitGrayed;
    };
    const MenuAllowed kNoStop{.stopTimer = false}, kNoExit{.exit = false};
    const Case cases[] = {
        {MenuSource::kWindow, false, {}, 101, "Остановить таймер", false, false},
        {MenuSource::kWindow, true, {}, 101, "Запустить таймер", false, false},
        {MenuSource::kNotifyIcon, false, {}, 102, "Остановить таймер", false, false},
        {MenuSource::kNotifyIcon, true, {}, 102, "Запустить таймер", false, false},
        // The administrator's policies grey what they forbid, in both menus;
        // a stopped timer may always be started again.
        {MenuSource::kNotifyIcon, false, kNoStop, 102, "Остановить таймер", true, false},
        {MenuSource::kWindow, false, kNoStop, 101, "Остановить таймер", true, false},
        {MenuSource::kWindow, true, kNoStop, 101, "Запустить таймер", false, false},
        {MenuSource::kNotifyIcon, false, kNoExit, 102, "Остановить таймер", false, true},
        {MenuSource::kWindow, true, kNoExit, 101, "Запустить таймер", false, true},
    };
    for (const Case& c : cases) {
        const std::array<MenuItem, 7> expected = {{
            {32775, "About..."},
            {c.help, "Помощь"},
            {0, ""},
            {103, c.timerText, c.timerGrayed},
            {170, "Настройки"},
            {0, ""},
            {32772, "Завершить роботу", c.exitGrayed},
        }};
        EXPECT_EQ(ContextMenuItems(c.source, c.stopped, c.allowed), expected)
            << "icon=" << (c.source == MenuSource::kNotifyIcon) << " stopped=" << c.stopped
            << " stop allowed=" << c.allowed.stopTimer << " exit allowed=" << c.allowed.exit;
    }
}

}  // namespace
