#include "app/ContextMenu.h"

#include <string>

MenuHandle BuildContextMenu(MenuSource source, bool stopped) {
    MenuHandle menu(CreatePopupMenu());
    for (const MenuItem& item : ContextMenuItems(source, stopped)) {
        if (item.IsSeparator()) {
            AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
        } else {
            std::string text(item.text);
            AppendMenuA(menu.Get(), MF_STRING, item.command, text.c_str());
        }
    }
    return menu;
}
