#include "controls/LabelAccessible.h"

#include "controls/Label.h"
#include "framework/Text.h"

namespace {

// A link's default action, as the system's own links name theirs.
constexpr wchar_t kClick[] = L"Click";

HRESULT NewString(const std::wstring& text, BSTR* out) {
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

CLabelAccessible::CLabelAccessible(CLabel& label, IAccessible* standard)
    : m_pLabel(&label), m_standard(standard) {}

void CLabelAccessible::Disconnect() {
    m_pLabel = nullptr;
    CoDisconnectObject(static_cast<IUnknown*>(this), 0);
}

HRESULT CLabelAccessible::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == kIidAccessible) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CLabelAccessible::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_nRefs)); }

ULONG CLabelAccessible::Release() {
    const LONG refs = InterlockedDecrement(&m_nRefs);
    if (refs == 0) delete this;
    return static_cast<ULONG>(refs);
}

HRESULT CLabelAccessible::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT CLabelAccessible::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

HRESULT CLabelAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT CLabelAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

HRESULT CLabelAccessible::Self(const VARIANT& child) const {
    if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return E_INVALIDARG;
    // The label has gone; its window went with it.
    if (!m_pLabel || !m_pLabel->Hwnd()) return RPC_E_DISCONNECTED;
    return S_OK;
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
    const HWND hwnd = m_pLabel->Hwnd();
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
    if (!m_pLabel->IsLink()) return S_FALSE;
    return NewString(kClick, action);
}

HRESULT CLabelAccessible::accDoDefaultAction(VARIANT child) {
    if (HRESULT hr = Self(child); FAILED(hr)) return hr;
    if (!m_pLabel->IsLink()) return DISP_E_MEMBERNOTFOUND;
    m_pLabel->PostClick();
    return S_OK;
}

HRESULT CLabelAccessible::get_accParent(IDispatch** parent) {
    return m_standard.Get()->get_accParent(parent);
}

HRESULT CLabelAccessible::get_accChildCount(LONG* count) {
    return m_standard.Get()->get_accChildCount(count);
}

HRESULT CLabelAccessible::get_accChild(VARIANT child, IDispatch** object) {
    return m_standard.Get()->get_accChild(child, object);
}

HRESULT CLabelAccessible::get_accValue(VARIANT child, BSTR* value) {
    return m_standard.Get()->get_accValue(child, value);
}

HRESULT CLabelAccessible::get_accDescription(VARIANT child, BSTR* description) {
    return m_standard.Get()->get_accDescription(child, description);
}

HRESULT CLabelAccessible::get_accHelp(VARIANT child, BSTR* help) {
    return m_standard.Get()->get_accHelp(child, help);
}

HRESULT CLabelAccessible::get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) {
    return m_standard.Get()->get_accHelpTopic(file, child, topic);
}

HRESULT CLabelAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return m_standard.Get()->get_accKeyboardShortcut(child, shortcut);
}

HRESULT CLabelAccessible::get_accFocus(VARIANT* child) { return m_standard.Get()->get_accFocus(child); }

HRESULT CLabelAccessible::get_accSelection(VARIANT* children) {
    return m_standard.Get()->get_accSelection(children);
}

HRESULT CLabelAccessible::accSelect(LONG flags, VARIANT child) {
    return m_standard.Get()->accSelect(flags, child);
}

HRESULT CLabelAccessible::accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) {
    return m_standard.Get()->accLocation(left, top, width, height, child);
}

HRESULT CLabelAccessible::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
    return m_standard.Get()->accNavigate(direction, start, end);
}

HRESULT CLabelAccessible::accHitTest(LONG x, LONG y, VARIANT* child) {
    return m_standard.Get()->accHitTest(x, y, child);
}

HRESULT CLabelAccessible::put_accName(VARIANT child, BSTR name) {
    return m_standard.Get()->put_accName(child, name);
}

HRESULT CLabelAccessible::put_accValue(VARIANT child, BSTR value) {
    return m_standard.Get()->put_accValue(child, value);
}
