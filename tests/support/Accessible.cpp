#include "tests/support/Accessible.h"

#include "framework/Accessible.h"
#include "framework/Handles.h"
#include "framework/Text.h"

namespace testsupport {

namespace {

// The object of the window's client area; this thread must be in an
// apartment while it is used.
ComOwner<IAccessible> ClientObject(HWND hwnd) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, kIidAccessible,
                                          reinterpret_cast<void**>(&object))))
        return {};
    return ComOwner<IAccessible>(object);
}

VARIANT Self() {
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

long Number(HRESULT hr, VARIANT& v) {
    const long n = SUCCEEDED(hr) && v.vt == VT_I4 ? v.lVal : 0;
    VariantClear(&v);
    return n;
}

std::string Text(HRESULT hr, BSTR text) {
    std::string utf8 = hr == S_OK && text ? Narrow(std::wstring(text, SysStringLen(text))) : std::string();
    SysFreeString(text);
    return utf8;
}

}  // namespace

AccessibleReading ReadAccessible(HWND hwnd) {
    ComApartment apartment;
    AccessibleReading reading;
    ComOwner<IAccessible> object = ClientObject(hwnd);
    if (!object) return reading;
    reading.found = true;
    IAccessible* a = object.Get();
    BSTR text = nullptr;
    HRESULT hr = a->get_accName(Self(), &text);
    reading.name = Text(hr, text);
    VARIANT v;
    VariantInit(&v);
    hr = a->get_accRole(Self(), &v);
    reading.role = Number(hr, v);
    hr = a->get_accState(Self(), &v);
    reading.state = Number(hr, v);
    text = nullptr;
    hr = a->get_accDefaultAction(Self(), &text);
    reading.defaultAction = Text(hr, text);
    return reading;
}

bool DoDefaultAction(HWND hwnd) {
    ComApartment apartment;
    ComOwner<IAccessible> object = ClientObject(hwnd);
    return object && object.Get()->accDoDefaultAction(Self()) == S_OK;
}

}  // namespace testsupport
