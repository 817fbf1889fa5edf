#include "app/MenuItems.h"

#include <gtest/gtest.h>

namespace {

TEST(ContextMenu, ItemsFollowTheSourceAndTheTimerState) {
    struct Case {
        MenuSource source;
        bool stopped;
        uint32_t help;
        std::string_view timerText;
    };
    const Case cases[] = {
        {MenuSource::kWindow, false, 101, "Остановить таймер"},
        {MenuSource::kWindow, true, 101, "Запустить таймер"},
        {MenuSource::kNotifyIcon, false, 102, "Остановить таймер"},
        {MenuSource::kNotifyIcon, true, 102, "Запустить таймер"},
    };
    for (const Case& c : cases) {
        const std::array<MenuItem, 7> expected = {{
            {32775, "About..."},
            {c.help, "Помощь"},
            {0, ""},
            {103, c.timerText},
            {170, "Настройки"},
            {0, ""},
            {32772, "Завершить роботу"},
        }};
        EXPECT_EQ(ContextMenuItems(c.source, c.stopped), expected)
            << "icon=" << (c.source == MenuSource::kNotifyIcon) << " stopped=" << c.stopped;
    }
}

}  // namespace
