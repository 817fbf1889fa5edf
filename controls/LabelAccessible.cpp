#include "controls/LabelAccessible.h"

#include "framework/Text.h"

namespace {

// A link's default action, as the system's own links name theirs.
constexpr wchar_t kClick[] = L"Click";

HRESULT NewString(const std::wstring& text, BSTR* out) {
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

CLabelAccessible::CLabelAccessible(AccessibleLabel& label, IAccessible* standard)
    : CAccessibleProxy(standard), m_pLabel(&label) {}

void CLabelAccessible::Disconnect() {
    m_pLabel = nullptr;
    DisconnectProxy();
    CoDisconnectObject(static_cast<IUnknown*>(this), 0);
}

HRESULT CLabelAccessible::Self(const VARIANT& child) const {
    // The label has gone; its window went with it.
    if (!m_pLabel || !m_pLabel->LabelWindow() || !Connected()) return CO_E_OBJNOTCONNECTED;
    if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return E_INVALIDARG;
    return S_OK;
}

bool CLabelAccessible::ActiveLink() const {
    return m_pLabel->IsLink() && IsWindowEnabled(m_pLabel->LabelWindow());
}

// The text the label paints: the control's own window text stays empty.
HRESULT CLabelAccessible::get_accName(VARIANT child, BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    if (HRESULT hr = Self(child); FAILED(hr)) return hr;
    return NewString(Widen(m_pLabel->Text()), name);
}

HRESULT CLabelAccessible::get_accRole(VARIANT child, VARIANT* role) {
    if (!role) return E_POINTER;
    VariantInit(role);
    if (HRESULT hr = Self(child); FAILED(hr)) return hr;
    role->vt = VT_I4;
    role->lVal = m_pLabel->IsLink() ? ROLE_SYSTEM_LINK : ROLE_SYSTEM_STATICTEXT;
    return S_OK;
}

// Worked out here rather than taken from the system's object, which knows
// nothing of links and (under Wine) calls any enabled window focusable.
HRESULT CLabelAccessible::get_accState(VARIANT child, VARIANT* state) {
    if (!state) return E_POINTER;
    VariantInit(state);
    if (HRESULT hr = Self(child); FAILED(hr)) return hr;
    const HWND hwnd = m_pLabel->LabelWindow();
    LONG bits = 0;
    if (!IsWindowVisible(hwnd)) bits |= STATE_SYSTEM_INVISIBLE;
    if (!IsWindowEnabled(hwnd)) bits |= STATE_SYSTEM_UNAVAILABLE;
    if (m_pLabel->IsLink()) {
        bits |= STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_LINKED;
        // Asked on the label's own thread (the apartment's), whose focus
        // this is.
        if (GetFocus() == hwnd) bits |= STATE_SYSTEM_FOCUSED;
    } else {
        bits |= STATE_SYSTEM_READONLY;
    }
    state->vt = VT_I4;
    state->lVal = bits;
    return S_OK;
}

HRESULT CLabelAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (!action) return E_POINTER;
    *action = nullptr;
    if (HRESULT hr = Self(child); FAILED(hr)) return hr;
    // A disabled link does nothing, so it offers nothing.
    if (!ActiveLink()) return S_FALSE;
    return NewString(kClick, action);
}

HRESULT CLabelAccessible::accDoDefaultAction(VARIANT child) {
    if (HRESULT hr = Self(child); FAILED(hr)) return hr;
    if (!ActiveLink()) return DISP_E_MEMBERNOTFOUND;
    m_pLabel->PostClick();
    return S_OK;
}
