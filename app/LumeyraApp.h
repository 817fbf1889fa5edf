#pragma once

#include "core/SettingsStore.h"
#include "framework/App.h"
#include "settings/Win32Registry.h"

class CLumeyraDlg;

// The one application object.
class CLumeyraApp : public CAppBase, private SettingsStore::Host {
public:
    // 1 while the rest prompt, the rest timer window or the exit question is
    // open: the notification icon's menu is refused meanwhile.
    int m_bPromptOpen = 0;

    SettingsStore& Store() { return m_store; }

protected:
    int Run() override;

private:
    std::string ExePath() override { return CAppBase::ExePath(); }
    void ShowAutoStartError(const char* text) override { ShowMessage(text); }

    CWin32Registry m_registry;
    SettingsStore m_store{m_registry, *this};
};

CLumeyraApp& App();
