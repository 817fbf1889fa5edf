#include "framework/DataExchange.h"

#include "framework/App.h"
#include "framework/Control.h"
#include "framework/IntegerField.h"
#include "framework/Text.h"

void CDataExchange::FailOnEdit(int id, const std::string& message) {
    CAppBase::ShowMessage(message.c_str());
    HWND edit = Item(id);
    // As the Tab key would: the default button follows the focus.
    SendMessage(m_hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
    SendMessage(edit, EM_SETSEL, 0, -1);
    m_bFailed = true;
}

void DDX_Text(CDataExchange& dx, int id, int32_t& value, int32_t minValue, int32_t maxValue) {
    if (!dx.Running()) return;
    if (!dx.m_bSaveAndValidate) {
        // Not std::to_wstring: that alone links mingw's whole wide printf,
        // some 11 KB of code, into the exe.
        SetDlgItemInt(dx.Dialog(), id, static_cast<UINT>(value), TRUE);
        return;
    }
    // Only the first characters count; the rest of a long text is ignored.
    wchar_t text[integerfield::kMaxChars + 1] = {};
    GetDlgItemText(dx.Dialog(), id, text, integerfield::kMaxChars + 1);
    std::string message = integerfield::TakeInteger(Narrow(text), minValue, maxValue, value);
    if (!message.empty()) dx.FailOnEdit(id, message);
}

void DDX_Radio(CDataExchange& dx, int firstId, int32_t& value) {
    if (!dx.Running()) return;
    if (dx.m_bSaveAndValidate) value = -1;
    HWND control = dx.Item(firstId);
    int32_t index = 0;
    while (control) {
        if (SendMessage(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (!dx.m_bSaveAndValidate)
                SendMessage(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
            else if (SendMessage(control, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
            ++index;
        }
        control = GetWindow(control, GW_HWNDNEXT);
        if (control && (GetWindowLong(control, GWL_STYLE) & WS_GROUP)) break;
    }
}

void DDX_Check(CDataExchange& dx, int id, int32_t& value) {
    if (!dx.Running()) return;
    HWND box = dx.Item(id);
    if (dx.m_bSaveAndValidate) {
        value = SendMessage(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
        return;
    }
    if (value < 0 || value > 2) value = 0;
    SendMessage(box, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Control(CDataExchange& dx, int id, CControl& control) {
    if (!dx.Running() || control.Hwnd()) return;
    control.Subclass(dx.Item(id));
}
