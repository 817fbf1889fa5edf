#pragma once

#include <windows.h>

#include "framework/MessageTable.h"
#include "framework/Text.h"

#include <span>
#include <string>

// A modal dialog run from a dialog template. The object is bound to its
// window when the dialog starts (through the create parameter) and one
// procedure dispatches every message to it; each derived class routes
// messages and command ids to its handlers through static tables.
class CDialog {
public:
    // The command id of the application's help (the F1 key).
    static constexpr UINT kHelpCommand = 57670;

    explicit CDialog(UINT templateId) : m_idd(templateId) {}
    virtual ~CDialog() = default;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog until EndDialog; the result is the closing command id
    // (IDOK 1, IDCANCEL 2), or -1 when the dialog could not be created.
    // Without an owner, the application's main window owns it and is
    // disabled meanwhile.
    INT_PTR DoModal(HWND owner = nullptr);
    HWND Hwnd() const { return m_hWnd; }
    HWND Item(int id) const { return GetDlgItem(m_hWnd, id); }
    void EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text) { SetDlgItemText(m_hWnd, id, Widen(text).c_str()); }
    // Moves the keyboard focus to a control the way the Tab key would, so
    // that the default button follows.
    void GotoItem(int id) { SendMessage(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE); }

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Finds the handler for a message in the class's tables; true when one
    // ran, with `result` its answer.
    virtual bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
    // Called by a handler that wants the system's default processing of its
    // message as well (the handler's answer is then dropped).
    void PassOn() { m_bPassOn = true; }

private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_idd;
    HWND m_hWnd = nullptr;
    bool m_bPassOn = false;
};

// The tables of one dialog class T:
//   static std::span<const Message> Messages();  window messages
//   static std::span<const Command> Commands();  WM_COMMAND by control id
// A command the tables route: a click (BN_CLICKED, the same code as a
// static's STN_CLICKED), a menu item or an accelerator. A control's other
// notifications (a static link's STN_DISABLE when it is disabled, an edit's
// EN_CHANGE) carry the same id and are no command.
inline bool IsClickOrChoice(WPARAM wParam, LPARAM lParam) {
    const UINT code = HIWORD(wParam);
    return code == BN_CLICKED || (code == 1 && lParam == 0);
}

template <class T>
class CDialogImpl : public CDialog {
public:
    using CDialog::CDialog;

protected:
    using Message = MessageEntry<T>;
    struct Command {
        UINT id;
        void (T::*handler)();
    };
    static std::span<const Message> Messages() { return {}; }
    static std::span<const Command> Commands() { return {}; }

    bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        T& self = static_cast<T&>(*this);
        if (RouteMessage(self, T::Messages(), message, wParam, lParam, result)) return true;
        if (message == WM_COMMAND && IsClickOrChoice(wParam, lParam)) {
            for (const Command& c : T::Commands()) {
                if (c.id == LOWORD(wParam)) {
                    (self.*c.handler)();
                    result = 0;
                    return true;
                }
            }
        }
        return false;
    }
};
