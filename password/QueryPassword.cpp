#include "password/QueryPassword.h"

#include "framework/App.h"
#include "password/PasswordFile.h"
#include "res/resource.h"

CQueryPassword::CQueryPassword() : CDialogImpl(IDD_QUERY_PASSWORD) {}

BOOL CQueryPassword::OnInitDialog() {
    // A file error escapes from here: the framework reports it, and the
    // dialog shows as it is, so that the user can only cancel.
    const std::unique_ptr<CPassword> stored = ReadPasswordFile(AppBase().ExeDir());
    m_labelPrompt.Subclass(Item(IDC_PASSWORD_PROMPT));
    SetItemText(IDC_PASSWORD_INPUT, m_strInput);
    if (!stored->IsSet()) {
        EndDialog(IDOK);
        return TRUE;
    }
    m_labelPrompt.SetFaceName("Courier", RUSSIAN_CHARSET).SetPointSize(12);
    return TRUE;
}

void CQueryPassword::OnOK() {
    m_strInput = ItemText(IDC_PASSWORD_INPUT);
    const std::unique_ptr<CPassword> stored = ReadPasswordFile(AppBase().ExeDir());
    if (stored->IsDamaged()) {
        CAppBase::ShowMessage("Файл \"Pass.bin\" поврежден.");
        return;
    }
    const std::optional<std::string> typed = RecordText(m_strInput);
    if (!typed || !stored->Matches(*typed)) {
        CAppBase::ShowMessage("Неверный пароль");
        GotoItem(IDC_PASSWORD_INPUT);
        m_strInput.clear();
        SetItemText(IDC_PASSWORD_INPUT, m_strInput);
        return;
    }
    EndDialog(IDOK);
}
