#include "password/EditPassword.h"

#include "framework/App.h"
#include "password/PasswordFile.h"
#include "res/resource.h"

CEditPassword::CEditPassword() : CDialogImpl(IDD_EDIT_PASSWORD) {}

void CEditPassword::OnOK() {
    std::string oldText = ItemText(IDC_OLD_PASSWORD);
    std::string newText = ItemText(IDC_NEW_PASSWORD);
    std::string repeated = ItemText(IDC_REPEAT_PASSWORD);

    // A file error leaves the dialog as it is; the framework reports it.
    const std::unique_ptr<CPassword> stored = ReadPasswordFile(AppBase().ExeDir());
    if (stored->IsDamaged()) {
        CAppBase::ShowMessage("Файл \"Pass.bin\" поврежден.");
        return;
    }
    const std::optional<std::string> oldRecord = RecordText(oldText);
    if (!oldRecord || !stored->Matches(*oldRecord)) {
        CAppBase::ShowMessage("Неверный старый пароль");
        for (int id : {IDC_OLD_PASSWORD, IDC_NEW_PASSWORD, IDC_REPEAT_PASSWORD}) SetItemText(id, "");
        GotoItem(IDC_OLD_PASSWORD);
        return;
    }
    if (newText != repeated) {
        CAppBase::ShowMessage("Не совпадают \"Новый пароль\" и \"Повторите пароль\".");
        SetItemText(IDC_NEW_PASSWORD, "");
        SetItemText(IDC_REPEAT_PASSWORD, "");
        GotoItem(IDC_NEW_PASSWORD);
        return;
    }
    const std::optional<std::string> newRecord = RecordText(newText);
    if (!newRecord) {
        CAppBase::ShowMessage(
            "Пароль содержит знаки, которые нельзя сохранить.\rИспользуйте русские, украинские или "
            "латинские буквы, цифры и знаки клавиатуры.");
        SetItemText(IDC_NEW_PASSWORD, "");
        SetItemText(IDC_REPEAT_PASSWORD, "");
        GotoItem(IDC_NEW_PASSWORD);
        return;
    }
    WritePasswordFile(AppBase().ExeDir(), *newRecord);
    EndDialog(IDOK);
}
