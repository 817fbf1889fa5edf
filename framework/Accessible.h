#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <ole2.h>
#include <oleacc.h>

#include "framework/Handles.h"

// IAccessible's interface id, spelled out. mingw-w64's IID_IAccessible,
// linked statically beside liboleacc, resolves to the bytes of an import
// thunk instead of the GUID, and every QueryInterface or
// AccessibleObjectFromWindow given it answers E_NOINTERFACE.
inline constexpr IID kIidAccessible = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// The generic half of an IAccessible of our own: the reference count,
// IDispatch without type information (clients call IAccessible directly),
// and every IAccessible call answered by the system's standard object for
// the same window. A control's object derives from it and answers what the
// control alone knows.
//
// A COM object, kept alive by its references: the control holds one and
// any client may hold more, so it can outlive the control.
class CAccessibleProxy : public IAccessible {
public:
    CAccessibleProxy(const CAccessibleProxy&) = delete;
    CAccessibleProxy& operator=(const CAccessibleProxy&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

    // IAccessible, as the system's object answers.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

protected:
    // `standard`: the system's object for the window; one reference is
    // handed over.
    explicit CAccessibleProxy(IAccessible* standard);
    // Only by Release, when the last reference goes.
    virtual ~CAccessibleProxy() = default;

    // The window is gone: the system's object for it is let go, and every
    // call answers CO_E_OBJNOTCONNECTED from now on rather than asking
    // about a dead window, or another that took its handle.
    void DisconnectProxy();
    bool Connected() const { return static_cast<bool>(m_standard); }

private:
    template <class... Params, class... Args>
    HRESULT Forward(HRESULT (STDMETHODCALLTYPE IAccessible::*call)(Params...), Args... args) {
        if (!m_standard) return CO_E_OBJNOTCONNECTED;
        return (m_standard.Get()->*call)(args...);
    }

    LONG m_nRefs = 1;
    ComOwner<IAccessible> m_standard;
};
