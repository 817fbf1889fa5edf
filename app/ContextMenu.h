#pragma once

#include <windows.h>

#include "app/MenuItems.h"
#include "framework/Handles.h"

// The context menu as a popup menu, made afresh for each showing.
MenuHandle BuildContextMenu(MenuSource source, bool stopped);
