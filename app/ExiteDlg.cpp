#include "app/ExiteDlg.h"

#include "res/resource.h"

CExiteDlg::CExiteDlg() : CDialogImpl(IDD_EXITE) {}

BOOL CExiteDlg::OnInitDialog() {
    m_labelQuestion.Subclass(Item(IDC_EXIT_QUESTION));
    m_labelQuestion.SetFaceName("Courier", RUSSIAN_CHARSET).SetPointSize(15);
    return TRUE;
}
