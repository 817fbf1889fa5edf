#include "settings/OptionsDialog.h"

#include "framework/App.h"
#include "password/EditPassword.h"
#include "password/QueryPassword.h"
#include "res/resource.h"

namespace {

constexpr DWORD kHelpContext = 2;
constexpr int32_t kMaxMinutes = 9999;
constexpr int32_t kMaxPixels = 9999;
constexpr int32_t kMaxPercent = 100;

// The fields a policy may hold, by the setting each shows.
struct PolicyField {
    int32_t Settings::*setting;
    int id;
};
constexpr PolicyField kPolicyFields[] = {
    {&Settings::TimeWork, IDC_TIME_WORK},
    {&Settings::TimeRelese, IDC_TIME_RELESE},
    {&Settings::QuietFullScreen, IDC_QUIET_FULL_SCREEN},
};

}  // namespace

COptionsDialog::COptionsDialog() : CDialogImpl(IDD_OPTIONS) {}

std::span<const COptionsDialog::Message> COptionsDialog::Messages() {
    static constexpr Message table[] = {{WM_SHOWWINDOW, &COptionsDialog::OnShowWindow}};
    return table;
}

std::span<const COptionsDialog::Command> COptionsDialog::Commands() {
    static constexpr Command table[] = {
        {IDC_WINDOW_ORDINARY, &COptionsDialog::OnOrdinaryWindow},
        {IDC_WINDOW_PASS_THROUGH, &COptionsDialog::OnPassThroughWindow},
        {IDC_TAKE_POSITION, &COptionsDialog::OnTakePosition},
        {IDC_PASSWORD_LINK, &COptionsDialog::OnPasswordLink},
        {IDC_OPTIONS_HELP, &COptionsDialog::OnHelpButton},
    };
    return table;
}

void COptionsDialog::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, IDC_TIME_WORK, m_nTimeWork, 1, kMaxMinutes);
    DDX_Text(dx, IDC_TIME_RELESE, m_nTimeRelese, 1, kMaxMinutes);
    DDX_Text(dx, IDC_X_POS, m_nXPos, 0, kMaxPixels);
    DDX_Text(dx, IDC_Y_POS, m_nYPos, 0, kMaxPixels);
    DDX_Radio(dx, IDC_WINDOW_ORDINARY, m_nWindowType);
    DDX_Check(dx, IDC_AUTO_START, m_bAutoStart);
    DDX_Check(dx, IDC_QUIET_FULL_SCREEN, m_bQuietFullScreen);
    DDX_Text(dx, IDC_ALPHA, m_nAlpha, 0, kMaxPercent);
    DDX_Control(dx, IDC_PASSWORD_LINK, m_labelPassword);
}

bool COptionsDialog::UpdateData(bool saveAndValidate) {
    CDataExchange dx(Hwnd(), saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

BOOL COptionsDialog::OnInitDialog() {
    UpdateData(false);
    // A click on the link only reaches this dialog, as the static's click
    // notification; the label itself opens nothing.
    m_labelPassword.SetLink(true, false)
        .SetLinkCursor(LoadCursor(AppInstance(), MAKEINTRESOURCE(IDC_LINK_HAND)));
    m_labelPassword.SetLinkTarget("");
    m_labelPassword.SetTextColor(RGB(0, 0, 255)).SetUnderline(true);
    m_labelPassword.m_bNoOpen = true;
    ShowPolicies();
    return TRUE;
}

void COptionsDialog::ShowPolicies() {
    bool anyHeld = false;
    for (const PolicyField& f : kPolicyFields) {
        const bool held = m_policies.Holds(f.setting);
        EnableWindow(Item(f.id), !held);
        anyHeld = anyHeld || held;
    }
    ShowWindow(Item(IDC_POLICY_NOTE), anyHeld ? SW_SHOW : SW_HIDE);
}

void COptionsDialog::EnablePosition(bool enable) {
    for (int id : {IDC_X_POS, IDC_Y_POS, IDC_TAKE_POSITION}) EnableWindow(Item(id), enable);
}

// The position controls follow the stored window type when the dialog
// opens; from then on the radio buttons move them.
LRESULT COptionsDialog::OnShowWindow(WPARAM, LPARAM) {
    if (m_nWindowType == 0) EnablePosition(false);
    PassOn();
    return 0;
}

void COptionsDialog::OnTakePosition() {
    // A failed check has said so; the position is taken all the same, and
    // showing the fields again puts the last good values back into the
    // controls from the failing one on.
    UpdateData(true);
    CDialog* main = CAppBase::MainWindow();
    RECT r{};
    if (main && main->Hwnd() && GetWindowRect(main->Hwnd(), &r)) {
        m_nXPos = r.left;
        m_nYPos = r.top;
    }
    UpdateData(false);
}

// The password dialogs are owned by this one, so that it is disabled while
// they are open and cannot be confirmed or closed behind them.
void COptionsDialog::OnPasswordLink() {
    CEditPassword edit;
    edit.DoModal(Hwnd());
}

void COptionsDialog::OnHelpButton() { AppBase().ShowHelp(kHelpContext); }

void COptionsDialog::OnOK() {
    CQueryPassword query;
    if (query.DoModal(Hwnd()) != IDOK) return;
    if (UpdateData(true)) EndDialog(IDOK);
}
