#pragma once

#include "framework/Dialog.h"

// Sets, changes or removes the password: the old one (empty when none is
// set), then the new one twice (both empty to remove it).
class CEditPassword : public CDialogImpl<CEditPassword> {
public:
    CEditPassword();

protected:
    void OnOK() override;

private:
    friend class CDialogImpl<CEditPassword>;
};
