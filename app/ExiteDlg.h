#pragma once

#include "controls/Label.h"
#include "framework/Dialog.h"

// The exit question: "Да" ends the program (result 1), "Нет", Escape and
// the close box keep it (result 2).
class CExiteDlg : public CDialogImpl<CExiteDlg> {
public:
    CExiteDlg();

    CLabel m_labelQuestion;

protected:
    BOOL OnInitDialog() override;

private:
    friend class CDialogImpl<CExiteDlg>;
};
