#pragma once

#include <windows.h>

#include <shellapi.h>

#include "core/UserBusy.h"

// How the program asks the shell whether the user may be interrupted; the
// tests stand in for the shell, whose answer under Wine never changes.
using UserNotificationQuery = HRESULT(WINAPI*)(QUERY_USER_NOTIFICATION_STATE*);

// What the shell says now and which window is in front, over what.
BusyObservation ObserveUser(UserNotificationQuery query = &SHQueryUserNotificationState);
