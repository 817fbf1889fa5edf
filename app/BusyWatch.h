#pragma once

#include <windows.h>

#include <shellapi.h>

#include "core/UserBusy.h"

// How the program asks the shell whether the user may be interrupted; the
// tests stand in for the shell, whose answer under Wine never changes.
using UserNotificationQuery = HRESULT(WINAPI*)(QUERY_USER_NOTIFICATION_STATE*);

// What the shell says now, which window is in front (its root owner), over
// what, and what covers the monitor `spectacles` stand on (null: judged
// where the window in front is).
BusyObservation ObserveUser(HWND spectacles = nullptr,
                            UserNotificationQuery query = &SHQueryUserNotificationState);
