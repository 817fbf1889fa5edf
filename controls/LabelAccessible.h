#pragma once

#include <string>

#include "framework/Accessible.h"

// What the accessible object asks of the label it speaks for.
class AccessibleLabel {
public:
    virtual HWND LabelWindow() const = 0;
    virtual const std::string& Text() const = 0;
    virtual bool IsLink() const = 0;
    virtual void PostClick() = 0;

protected:
    ~AccessibleLabel() = default;
};

// What a screen reader learns of a label through Active Accessibility (and
// UI Automation through its proxy for it): the text the label paints as the
// name, the role of static text or of a link, a link's states and its
// default action, a click. Everything else (where it is, its parent, hit
// testing) comes from the system's own object for the label's window.
//
// The label holds one reference and any client may hold more, so it can
// outlive the label, which disconnects it when it goes.
class CLabelAccessible final : public CAccessibleProxy {
public:
    // `standard`: the system's object for the label's window; one reference
    // is handed over.
    CLabelAccessible(AccessibleLabel& label, IAccessible* standard);

    // The label is going: what it alone knew is no longer asked for, and
    // clients in other processes are cut off.
    void Disconnect();

    // IAccessible: what the label knows.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;

private:
    ~CLabelAccessible() override = default;
    // The label as the one object this answers for: the child id must be
    // CHILDID_SELF and the label still there; else the error to return.
    HRESULT Self(const VARIANT& child) const;
    // A link that is enabled: only it has a default action.
    bool ActiveLink() const;

    AccessibleLabel* m_pLabel;
};
