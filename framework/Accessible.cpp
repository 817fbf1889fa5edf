#include "framework/Accessible.h"

CAccessibleProxy::CAccessibleProxy(IAccessible* standard) : m_standard(standard) {}

void CAccessibleProxy::DisconnectProxy() { m_standard.Reset(); }

HRESULT CAccessibleProxy::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == kIidAccessible) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CAccessibleProxy::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_nRefs)); }

ULONG CAccessibleProxy::Release() {
    const LONG refs = InterlockedDecrement(&m_nRefs);
    if (refs == 0) delete this;
    return static_cast<ULONG>(refs);
}

HRESULT CAccessibleProxy::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT CAccessibleProxy::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

HRESULT CAccessibleProxy::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT CAccessibleProxy::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

HRESULT CAccessibleProxy::get_accParent(IDispatch** parent) {
    return Forward(&IAccessible::get_accParent, parent);
}

HRESULT CAccessibleProxy::get_accChildCount(LONG* count) {
    return Forward(&IAccessible::get_accChildCount, count);
}

HRESULT CAccessibleProxy::get_accChild(VARIANT child, IDispatch** object) {
    return Forward(&IAccessible::get_accChild, child, object);
}

HRESULT CAccessibleProxy::get_accValue(VARIANT child, BSTR* value) {
    return Forward(&IAccessible::get_accValue, child, value);
}

HRESULT CAccessibleProxy::get_accDescription(VARIANT child, BSTR* description) {
    return Forward(&IAccessible::get_accDescription, child, description);
}

HRESULT CAccessibleProxy::get_accHelp(VARIANT child, BSTR* help) {
    return Forward(&IAccessible::get_accHelp, child, help);
}

HRESULT CAccessibleProxy::get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) {
    return Forward(&IAccessible::get_accHelpTopic, file, child, topic);
}

HRESULT CAccessibleProxy::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return Forward(&IAccessible::get_accKeyboardShortcut, child, shortcut);
}

HRESULT CAccessibleProxy::get_accFocus(VARIANT* child) { return Forward(&IAccessible::get_accFocus, child); }

HRESULT CAccessibleProxy::get_accSelection(VARIANT* children) {
    return Forward(&IAccessible::get_accSelection, children);
}

HRESULT CAccessibleProxy::accSelect(LONG flags, VARIANT child) {
    return Forward(&IAccessible::accSelect, flags, child);
}

HRESULT CAccessibleProxy::accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) {
    return Forward(&IAccessible::accLocation, left, top, width, height, child);
}

HRESULT CAccessibleProxy::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
    return Forward(&IAccessible::accNavigate, direction, start, end);
}

HRESULT CAccessibleProxy::accHitTest(LONG x, LONG y, VARIANT* child) {
    return Forward(&IAccessible::accHitTest, x, y, child);
}

HRESULT CAccessibleProxy::put_accName(VARIANT child, BSTR name) {
    return Forward(&IAccessible::put_accName, child, name);
}

HRESULT CAccessibleProxy::put_accValue(VARIANT child, BSTR value) {
    return Forward(&IAccessible::put_accValue, child, value);
}

HRESULT CAccessibleProxy::get_accName(VARIANT child, BSTR* name) { return Forward(&IAccessible::get_accName, child, name); }

HRESULT CAccessibleProxy::get_accRole(VARIANT child, VARIANT* role) { return Forward(&IAccessible::get_accRole, child, role); }

HRESULT CAccessibleProxy::get_accState(VARIANT child, VARIANT* state) {
    return Forward(&IAccessible::get_accState, child, state);
}

HRESULT CAccessibleProxy::get_accDefaultAction(VARIANT child, BSTR* action) {
    return Forward(&IAccessible::get_accDefaultAction, child, action);
}

HRESULT CAccessibleProxy::accDoDefaultAction(VARIANT child) { return Forward(&IAccessible::accDoDefaultAction, child); }
