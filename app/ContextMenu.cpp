#include "app/ContextMenu.h"

#include "framework/Text.h"

MenuHandle BuildContextMenu(MenuSource source, bool stopped, MenuAllowed allowed) {
    MenuHandle menu(CreatePopupMenu());
    for (const MenuItem& item : ContextMenuItems(source, stopped, allowed)) {
        if (item.IsSeparator()) {
            AppendMenu(menu.Get(), MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenu(menu.Get(), MF_STRING | (item.grayed ? MF_GRAYED : 0), item.command,
                       Widen(item.text).c_str());
        }
    }
    return menu;
}

void TrackContextMenu(HWND owner, MenuSource source, bool stopped, MenuAllowed allowed) {
    POINT at{};
    GetCursorPos(&at);
    // Without the foreground the menu would not close on a click elsewhere.
    SetForegroundWindow(owner);
    MenuHandle menu = BuildContextMenu(source, stopped, allowed);
    TrackPopupMenu(menu.Get(), 0, at.x, at.y, 0, owner, nullptr);
    // The documented remedy for menus of a notification icon: without a
    // message that follows, Windows may leave the menu open on a click
    // elsewhere, or close the next one at once.
    PostMessageW(owner, WM_NULL, 0, 0);
}
