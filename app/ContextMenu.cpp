#include "app/ContextMenu.h"

#include "framework/Text.h"

MenuHandle BuildContextMenu(MenuSource source, bool stopped) {
    MenuHandle menu(CreatePopupMenu());
    for (const MenuItem& item : ContextMenuItems(source, stopped)) {
        if (item.IsSeparator()) {
            AppendMenu(menu.Get(), MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenu(menu.Get(), MF_STRING, item.command, Widen(item.text).c_str());
        }
    }
    return menu;
}
