#include "framework/Dialog.h"

#include "framework/Dpi.h"

#include <exception>
#include <utility>

#include "framework/App.h"
#include "framework/WindowText.h"

INT_PTR CDialog::DoModal(HWND owner) {
    CDialog* main = CAppBase::MainWindow();
    if (!owner && main && main != this) owner = main->Hwnd();
    return DialogBoxParam(AppInstance(), MAKEINTRESOURCE(m_idd), owner, &CDialog::Procedure,
                          reinterpret_cast<LPARAM>(this));
}

std::string CDialog::ItemText(int id) const { return WindowText(Item(id)); }

namespace {

void SendToDescendants(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{nullptr, message, wParam, lParam, 0, {}};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM p) {
            const MSG& m = *reinterpret_cast<const MSG*>(p);
            SendMessage(child, m.message, m.wParam, m.lParam);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&msg));
}

// Messages whose answer is the dialog procedure's return value itself rather
// than DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
    switch (message) {
        case WM_INITDIALOG:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_QUERYDRAGICON:
            return true;
        default:
            return false;
    }
}

}  // namespace

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return OnInitDialog();
    // The system tells only top-level windows of a colour-scheme change or a
    // setting's (a high-contrast theme switched on); controls that keep
    // brushes of the system colours or follow the theme learn of it from
    // their dialog.
    if (message == WM_SYSCOLORCHANGE || message == WM_SETTINGCHANGE)
        SendToDescendants(m_hWnd, message, wParam, lParam);
    // What a dialog made for its old scale (pictures, cursors) is fitted to
    // the new one on kScaleSettled, which comes once the dialog manager has
    // laid the controls out anew.
    if (message == WM_DPICHANGED) PostMessageW(m_hWnd, kScaleSettled, 0, 0);
    LRESULT result = 0;
    // Handlers may pump messages of their own, so keep the outer flag.
    bool outerPassOn = std::exchange(m_bPassOn, false);
    bool handled = Route(message, wParam, lParam, result) && !m_bPassOn;
    m_bPassOn = outerPassOn;
    if (handled) {
        if (AnswersDirectly(message)) return static_cast<INT_PTR>(result);
        SetWindowLongPtr(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    // F1 without Shift, Ctrl or Alt is the application's help command,
    // which the main window answers at its own topic.
    if (message == WM_HELP && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0 &&
        GetKeyState(VK_MENU) >= 0) {
        CDialog* main = CAppBase::MainWindow();
        HWND target = main && main->Hwnd() ? main->Hwnd() : m_hWnd;
        SendMessage(target, WM_COMMAND, kHelpCommand, 0);
        return TRUE;
    }
    // Moved to a monitor of another scale. Where the dialog manager
    // rescales dialogs, the default dialog procedure must see the message;
    // before it, the window takes the rectangle the system suggests, which
    // keeps it under the mouse while dragged.
    if (message == WM_DPICHANGED && lParam && !DialogManagerScales()) {
        const RECT* r = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(m_hWnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) return OnOK(), TRUE;
        if (LOWORD(wParam) == IDCANCEL) return OnCancel(), TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK CDialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->m_hWnd = hwnd;
        SetWindowLongPtr(hwnd, DWLP_USER, lParam);
    }
    auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtr(hwnd, DWLP_USER));
    if (!dialog) return FALSE;  // the few messages that come before WM_INITDIALOG
    // The one barrier: no exception may unwind through the system's code.
    try {
        INT_PTR answer = dialog->Dispatch(message, wParam, lParam);
        if (message == WM_NCDESTROY) dialog->m_hWnd = nullptr;
        return answer;
    } catch (const std::exception& e) {
        CAppBase::ReportError(e.what());
    } catch (...) {
        CAppBase::ReportError("Unexpected error.");
    }
    return FALSE;
}
