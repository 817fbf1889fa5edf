#include "framework/Control.h"

#include <commctrl.h>

#include <exception>
#include <utility>

#include "framework/App.h"

namespace {

// One subclass per control object and window; the object itself rides along
// as the reference data.
constexpr UINT_PTR kSubclassId = 1;

}  // namespace

CControl::~CControl() { Detach(); }

bool CControl::Subclass(HWND hwnd) {
    Detach();
    if (!hwnd ||
        !SetWindowSubclass(hwnd, &CControl::Procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    m_hWnd = hwnd;
    OnAttached();
    return true;
}

void CControl::Detach() {
    if (m_hWnd) RemoveWindowSubclass(std::exchange(m_hWnd, nullptr), &CControl::Procedure, kSubclassId);
}

LRESULT CControl::Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    // Handlers may pump messages of their own, so keep the outer flag.
    bool outerPassOn = std::exchange(m_bPassOn, false);
    bool handled = Route(message, wParam, lParam, result) && !m_bPassOn;
    m_bPassOn = outerPassOn;
    return handled ? result : DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CControl::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR refData) {
    auto* control = reinterpret_cast<CControl*>(refData);
    // The window's last message: let it go first, so that nothing reaches
    // the object once the window is gone; the chain still runs to its end.
    if (message == WM_NCDESTROY) control->Detach();
    // The one barrier: no exception may unwind through the system's code.
    try {
        return control->Dispatch(hwnd, message, wParam, lParam);
    } catch (const std::exception& e) {
        CAppBase::ReportError(e.what());
    } catch (...) {
        CAppBase::ReportError("Unexpected error.");
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}
