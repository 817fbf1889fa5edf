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

// The settings the dialog shows, each with its field and its control, in
// the order the fields are exchanged (and so checked).
struct SettingField {
    enum Kind {
        kNumber,
        kRadio,
        // Ticked for any value but 0.
        kCheck,
        // Ticked only for 1, as the Run value's presence is stored.
        kRunValueCheck,
    };
    int32_t Settings::*setting;
    int32_t COptionsDialog::*field;
    int id;
    Kind kind;
    int32_t min = 0, max = 0;
};
constexpr SettingField kSettingFields[] = {
    {&Settings::TimeWork, &COptionsDialog::m_nTimeWork, IDC_TIME_WORK, SettingField::kNumber, 1, kMaxMinutes},
    {&Settings::TimeRelese, &COptionsDialog::m_nTimeRelese, IDC_TIME_RELESE, SettingField::kNumber, 1,
     kMaxMinutes},
    {&Settings::xPos, &COptionsDialog::m_nXPos, IDC_X_POS, SettingField::kNumber, 0, kMaxPixels},
    {&Settings::yPos, &COptionsDialog::m_nYPos, IDC_Y_POS, SettingField::kNumber, 0, kMaxPixels},
    {&Settings::WindowType, &COptionsDialog::m_nWindowType, IDC_WINDOW_ORDINARY, SettingField::kRadio},
    {&Settings::AutoStart, &COptionsDialog::m_bAutoStart, IDC_AUTO_START, SettingField::kRunValueCheck},
    {&Settings::QuietFullScreen, &COptionsDialog::m_bQuietFullScreen, IDC_QUIET_FULL_SCREEN,
     SettingField::kCheck},
    {&Settings::alpha, &COptionsDialog::m_nAlpha, IDC_ALPHA, SettingField::kNumber, 0, kMaxPercent},
};

// Every setting a policy may hold has its field here, to be shown held.
constexpr bool ShowsEveryPolicy() {
    int held = 0;
    for (const SettingField& f : kSettingFields) held += PolicyMayHold(f.setting) ? 1 : 0;
    int policies = 0;
    for (const PolicyValue& v : kPolicyValues) policies += v.setting ? 1 : 0;
    return held == policies;
}
static_assert(ShowsEveryPolicy());

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

void COptionsDialog::Show(const Settings& shown) {
    for (const SettingField& f : kSettingFields) {
        const int32_t value = shown.*f.setting;
        if (f.kind == SettingField::kCheck) this->*f.field = value != 0 ? 1 : 0;
        else if (f.kind == SettingField::kRunValueCheck) this->*f.field = value == 1 ? 1 : 0;
        else this->*f.field = value;
    }
}

Settings COptionsDialog::Chosen(Settings base) const {
    for (const SettingField& f : kSettingFields) {
        const int32_t value = this->*f.field;
        const bool check = f.kind == SettingField::kCheck || f.kind == SettingField::kRunValueCheck;
        base.*f.setting = check ? (value != 0 ? 1 : 0) : value;
    }
    return base;
}

void COptionsDialog::DoDataExchange(CDataExchange& dx) {
    for (const SettingField& f : kSettingFields) {
        if (f.kind == SettingField::kNumber) DDX_Text(dx, f.id, this->*f.field, f.min, f.max);
        else if (f.kind == SettingField::kRadio) DDX_Radio(dx, f.id, this->*f.field);
        else DDX_Check(dx, f.id, this->*f.field);
    }
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
    for (const SettingField& f : kSettingFields) {
        if (!PolicyMayHold(f.setting)) continue;
        const bool held = m_policies.Holds(f.setting);
        EnableWindow(Item(f.id), !held);
        anyHeld = anyHeld || held;
    }
    ShowWindow(Item(IDC_POLICY_NOTE), anyHeld ? SW_SHOW : SW_HIDE);
}

void COptionsDialog::FollowPolicies(const Policies& policies, const Settings& user) {
    const Settings shown = Enforced(user, policies);
    for (const SettingField& f : kSettingFields) {
        if (!PolicyMayHold(f.setting)) continue;
        // A field no policy holds, before or now, keeps what the user typed.
        if (!policies.Holds(f.setting) && !m_policies.Holds(f.setting)) continue;
        const int32_t value = shown.*f.setting;
        if (f.kind == SettingField::kNumber) {
            this->*f.field = value;
            SetDlgItemInt(Hwnd(), f.id, static_cast<UINT>(value), TRUE);
        } else if (f.kind == SettingField::kCheck) {
            this->*f.field = value != 0 ? 1 : 0;
            CheckDlgButton(Hwnd(), f.id, value != 0 ? BST_CHECKED : BST_UNCHECKED);
        }
    }
    m_policies = policies;
    ShowPolicies();
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
