#include "core/MenuItems.h"

std::array<MenuItem, kContextMenuSize> ContextMenuItems(MenuSource source, bool stopped,
                                                        MenuAllowed allowed) {
    const uint32_t help = source == MenuSource::kWindow ? kCmdHelpFromWindow : kCmdHelpFromIcon;
    return {{
        {kCmdAbout, "About..."},
        {help, "Помощь"},
        {},
        {kCmdStartStopTimer, stopped ? "Запустить таймер" : "Остановить таймер",
         !stopped && !allowed.stopTimer},
        {kCmdSettings, "Настройки"},
        {},
        {kCmdExit, "Завершить роботу", !allowed.exit},
    }};
}
