#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The main window's context menu, built anew each time it is shown. The list
// is made here; the Win32 side turns it into a popup menu item by item.

// Command values of the main window. Help differs by the way in, so that the
// help opens at the topic of where the user came from.
enum MenuCommand : uint32_t {
    kCmdHelpFromWindow = 101,
    kCmdHelpFromIcon = 102,
    kCmdStartStopTimer = 103,
    kCmdSettings = 170,
    kCmdExit = 32772,
    kCmdAbout = 32775,
};

enum class MenuSource {
    kWindow,      // a right click on the spectacles
    kNotifyIcon,  // a right click on the notification-area icon
};

// A plain text item, unchecked, greyed only where the administrator's
// policies forbid the command, or a separator (command 0, no text).
struct MenuItem {
    uint32_t command = 0;
    std::string_view text;
    bool grayed = false;
    bool IsSeparator() const { return command == 0; }
    bool operator==(const MenuItem&) const = default;
};

// What the machine's policies leave the user of the menu's commands.
struct MenuAllowed {
    bool stopTimer = true;
    bool exit = true;
};

inline constexpr std::size_t kContextMenuSize = 7;

// The items in menu order; the timer item offers the opposite of the
// timer's present state. Starting a stopped timer is always allowed.
std::array<MenuItem, kContextMenuSize> ContextMenuItems(MenuSource source, bool stopped,
                                                        MenuAllowed allowed = {});
