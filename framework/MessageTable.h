#pragma once

#include <windows.h>

#include <span>

// One line of a window class's static message table: the message and the
// member function that handles it.
template <class T>
struct MessageEntry {
    UINT message;
    LRESULT (T::*handler)(WPARAM, LPARAM);
};

// Runs the handler `table` holds for `message`; false when it holds none.
template <class T>
bool RouteMessage(T& self, std::span<const MessageEntry<T>> table, UINT message, WPARAM wParam, LPARAM lParam,
                  LRESULT& result) {
    for (const MessageEntry<T>& m : table) {
        if (m.message == message) {
            result = (self.*m.handler)(wParam, lParam);
            return true;
        }
    }
    return false;
}
