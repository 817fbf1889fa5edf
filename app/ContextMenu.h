#pragma once

#include <windows.h>

#include "core/MenuItems.h"
#include "framework/Handles.h"

// The context menu as a popup menu, made afresh for each showing.
MenuHandle BuildContextMenu(MenuSource source, bool stopped, MenuAllowed allowed = {});
// Shows the menu at the cursor, owned by `owner`, which receives the chosen
// command; returns once the menu has closed.
void TrackContextMenu(HWND owner, MenuSource source, bool stopped, MenuAllowed allowed = {});
