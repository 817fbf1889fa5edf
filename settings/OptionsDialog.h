#pragma once

#include <cstdint>

#include "controls/Label.h"
#include "core/Policies.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"

// The settings dialog: work and rest times, window type and position,
// opacity, start at log-on, quiet while a program runs full screen, and the
// link to the password dialog. The caller fills the fields, runs it, and on
// OK reads them back; "Применить" asks for the password first. A field whose
// setting a policy holds shows the policy's value, disabled, under a line
// that says so. The fields are exchanged with a settings record.
class COptionsDialog : public CDialogImpl<COptionsDialog> {
public:
    COptionsDialog();

    int32_t m_nTimeWork = 0;    // minutes
    int32_t m_nTimeRelese = 0;  // minutes
    int32_t m_nXPos = 0;
    int32_t m_nYPos = 0;
    int32_t m_nWindowType = 0;  // 0 ordinary, 1 pass-through, -1 neither chosen
    int32_t m_bAutoStart = 0;
    int32_t m_nAlpha = 0;  // percent
    int32_t m_bQuietFullScreen = 0;
    CLabel m_labelPassword;
    Policies m_policies;  // the machine's policies, the fields' values already theirs

    // The fields from the settings shown.
    void Show(const Settings& shown);
    // `base` with the fields' values in place of its own.
    Settings Chosen(Settings base) const;
    // A policy came or went while the dialog is open: the fields it holds
    // show its value, disabled, and the fields it frees the user's own
    // (from `user`) again, enabled.
    void FollowPolicies(const Policies& policies, const Settings& user);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    friend class CDialogImpl<COptionsDialog>;
    static std::span<const Message> Messages();
    static std::span<const Command> Commands();

    void DoDataExchange(CDataExchange& dx);
    // False when a value failed its check; the user has been told.
    bool UpdateData(bool saveAndValidate);
    void EnablePosition(bool enable);
    // Disables the fields the policies hold, and says so when there are any.
    void ShowPolicies();

    LRESULT OnShowWindow(WPARAM, LPARAM);
    void OnOrdinaryWindow() { EnablePosition(false); }
    void OnPassThroughWindow() { EnablePosition(true); }
    void OnTakePosition();
    void OnPasswordLink();
    void OnHelpButton();
};
