#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class CControl;

// One run of a dialog's data exchange, in one direction: fields to controls
// (showing), or controls to fields (taking, with checks). The first check
// that fails tells the user, puts the focus on the control and stops the
// run: the exchanges after it leave their fields alone.
class CDataExchange {
public:
    CDataExchange(HWND dialog, bool saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_hDlg(dialog) {}

    // True when taking the values from the controls.
    const bool m_bSaveAndValidate;

    HWND Dialog() const { return m_hDlg; }
    HWND Item(int id) const { return GetDlgItem(m_hDlg, id); }
    // True while the exchange goes on: always when showing.
    bool Running() const { return !m_bFailed; }
    bool Failed() const { return m_bFailed; }
    // Shows `message` in the application's box, selects the whole text of
    // the edit `id` with the focus in it, and stops the exchange.
    void FailOnEdit(int id, const std::string& message);

private:
    HWND m_hDlg;
    bool m_bFailed = false;
};

// A number edit: shown as signed decimal; taken from its text's leading
// integer and checked against the inclusive bounds. A text without a number
// leaves `value` alone; a number out of bounds is kept and fails.
void DDX_Text(CDataExchange& dx, int id, int32_t& value, int32_t minValue, int32_t maxValue);
// A group of radio buttons from `firstId` up to the next control that
// starts a group: the index of the checked button, -1 for none.
void DDX_Radio(CDataExchange& dx, int firstId, int32_t& value);
// A check box: 1 ticked, 0 not. A value beyond 0..2 shows (and becomes) 0.
void DDX_Check(CDataExchange& dx, int id, int32_t& value);
// Attaches `control` to the item the first time; the exchange's direction
// does not matter.
void DDX_Control(CDataExchange& dx, int id, CControl& control);
