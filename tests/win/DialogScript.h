#pragma once

// Runs one of the program's dialogs modally on the test's thread while a
// script on a second thread works it from outside its modal loop, as a user
// would: typing into fields, clicking, answering message boxes.
#include <windows.h>

#include <functional>
#include <string>

#include "framework/Dialog.h"

class DialogScript {
public:
    // The thread whose windows the script looks at: the one running the
    // dialog.
    explicit DialogScript(DWORD uiThread) : m_uiThread(uiThread) {}

    // A visible top-level window of the dialog's thread with this title;
    // null after the deadline.
    HWND WaitForWindow(const std::string& title) const;
    // The message box the application shows next, and its text.
    HWND WaitForMessage(std::string& text) const;
    bool WaitUntil(const std::function<bool()>& condition) const;
    bool WaitGone(HWND window) const {
        return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); });
    }

    static void Type(HWND dialog, int id, const std::string& text);
    static std::string Text(HWND dialog, int id);
    static void Click(HWND dialog, int id);
    // The control that has the keyboard focus on the dialog's thread.
    HWND Focus() const;

private:
    DWORD m_uiThread;
};

// Runs `dialog` modally; `script` runs meanwhile. Whatever the script leaves
// open is cancelled afterwards, so that a failed script cannot hang the test.
INT_PTR RunScripted(CDialog& dialog, const std::function<void(DialogScript&)>& script);
