#include "password/QueryPassword.h"

#include "app/LumeyraApp.h"
#include "res/resource.h"

CQueryPassword::CQueryPassword() : CDialogImpl(IDD_QUERY_PASSWORD) {}

BOOL CQueryPassword::OnInitDialog() {
    // A file error escapes from here: the framework reports it, and the
    // dialog shows as it is, so that the user can only cancel.
    CPassword* stored = App().ReadPassword();
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
    CPassword* stored = App().ReadPassword();
    if (stored->IsDamaged()) {
        App().ShowMessage("Файл \"Pass.bin\" поврежден.");
        return;
    }
    const std::optional<std::string> typed = App().RecordText(m_strInput);
    if (!typed || !stored->Matches(*typed)) {
        App().ShowMessage("Неверный пароль");
        GotoItem(IDC_PASSWORD_INPUT);
        m_strInput.clear();
        SetItemText(IDC_PASSWORD_INPUT, m_strInput);
        return;
    }
    EndDialog(IDOK);
}
