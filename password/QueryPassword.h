#pragma once

#include <string>

#include "controls/Label.h"
#include "framework/Dialog.h"

// Asks for the password before a protected action. With no password set it
// ends with OK before it ever shows.
class CQueryPassword : public CDialogImpl<CQueryPassword> {
public:
    CQueryPassword();

    CLabel m_labelPrompt;
    std::string m_strInput;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    friend class CDialogImpl<CQueryPassword>;
};
