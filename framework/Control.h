#pragma once

#include <windows.h>

#include "framework/MessageTable.h"

#include <span>

// A control of a dialog that the program takes over: a member of the dialog
// attached to one of its existing child windows by subclassing. Messages go
// to the object first; those it does not handle, and those whose handler
// asks for it, then reach the control's own procedure. comctl32's subclass
// chain is used because it stays correct when others subclass the same
// window too.
class CControl {
public:
    CControl() = default;
    // A control object may die before its window (a dialog member while the
    // dialog still closes): it then hands the window back to its own
    // procedure.
    virtual ~CControl();
    CControl(const CControl&) = delete;
    CControl& operator=(const CControl&) = delete;

    // Takes the window over and calls OnAttached; false when the window
    // could not be subclassed. The window is let go when it is destroyed.
    bool Subclass(HWND hwnd);
    HWND Hwnd() const { return m_hWnd; }

protected:
    // Runs once the window is taken over, to read what the control holds.
    virtual void OnAttached() {}
    // Finds the handler for a message; true when one ran, with `result` its
    // answer.
    virtual bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
    // Called by a handler that wants the control's own procedure to run
    // after it; that procedure's answer is then the one returned.
    void PassOn() { m_bPassOn = true; }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR refData);
    LRESULT Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Detach();

    HWND m_hWnd = nullptr;
    bool m_bPassOn = false;
};

// The message table of one control class T:
//   static std::span<const Message> Messages();
template <class T>
class CControlImpl : public CControl {
protected:
    using Message = MessageEntry<T>;
    static std::span<const Message> Messages() { return {}; }

    bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        return RouteMessage(static_cast<T&>(*this), T::Messages(), message, wParam, lParam, result);
    }
};
