#pragma once

#include <windows.h>

#include <string>

#include "framework/Text.h"

// A window's whole text, however long, as UTF-8.
inline std::string WindowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLength(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowText(hwnd, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

// Sets a window's text from UTF-8.
inline void SetText(HWND hwnd, const std::string& text) { ::SetWindowTextW(hwnd, Widen(text).c_str()); }
