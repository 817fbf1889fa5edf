#pragma once

#include <memory>
#include <optional>
#include <string>

#include "framework/App.h"
#include "password/Password.h"
#include "settings/SettingsStore.h"
#include "settings/Win32Registry.h"

class CLumeyraDlg;

// The one application object.
class CLumeyraApp : public CAppBase, private SettingsStore::Host {
public:
    // 1 while the rest prompt, the rest timer window or the exit question is
    // open: the notification icon's menu is refused meanwhile.
    int m_bPromptOpen = 0;

    // The password record last read from "Pass.bin"; empty at first.
    std::unique_ptr<CPassword> m_pPassword = std::make_unique<CPassword>();

    SettingsStore& Store() { return m_store; }

    // Reads "Pass.bin" afresh; the record stays owned here until the next
    // read. Raises CFileError, leaving the current record as it was.
    CPassword* ReadPassword();
    // Stores `recordText` (see RecordText) as the password; empty removes
    // it. Raises CFileError.
    void WritePassword(std::string recordText);
    // A typed password as the record holds it: in code page 1251, one byte a
    // character, whatever the system's own code page, so that "Pass.bin"
    // means the same on every Windows. Nothing when a character is missing
    // from that code page: such a password can neither be stored nor match.
    static std::optional<std::string> RecordText(const std::string& typed);

protected:
    int Run() override;

private:
    std::string ExePath() override { return CAppBase::ExePath(); }
    void ShowAutoStartError(const char* text) override { ShowMessage(text); }

    CWin32Registry m_registry;
    SettingsStore m_store{m_registry, *this};
};

CLumeyraApp& App();
