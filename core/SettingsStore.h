#pragma once

#include <string>

#include "core/Policies.h"
#include "core/Registry.h"
#include "core/Settings.h"

inline constexpr const char* kProductKey = "Software\\Lumeyra";
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = "Lumeyra";
inline constexpr const char* kAutoStartErrorText =
    "Ошибка при записи в реестр.\rВозможно у вас недостаточно прав.\r"
    "Небыло измененно параметра \"Запускать при Старте.\" ";

// Keeps the settings under the current user's product key and the start at
// log-on as the Run value. Holds no state between calls: each call opens the
// keys it needs and closes them before it returns.
class SettingsStore {
public:
    // What the store needs from the program around it.
    class Host {
    public:
        virtual ~Host() = default;
        virtual std::string ExePath() = 0;
        // Shows `text` and returns once the user has closed the message.
        virtual void ShowAutoStartError(const char* text) = 0;
    };

    SettingsStore(reg::Registry& registry, Host& host) : m_registry(registry), m_host(host) {}

    // Fills the record; the very first load writes the defaults and
    // registers the program to start at log-on. False only when something
    // exceptional (not a registry error) stopped it.
    bool LoadSettings(Settings& settings);
    // Writes all but StopTimer and the values `held` by a policy, which
    // stay in the key as the user left them; touches the Run value only
    // when asked to.
    bool SaveSettings(const Settings& settings, bool autoStartChanged, const Policies& held = {});
    void SaveStopTimer(int32_t stopTimer);
    // The machine's policies, read afresh.
    Policies LoadPolicies() { return ReadPolicies(m_registry); }

private:
    void ReadAll(reg::Key& key, Settings& settings);
    void WriteDefaults(reg::Key* key, Settings& settings);
    bool RegisterAutoStart();
    bool UpdateAutoStart(bool enable);

    reg::Registry& m_registry;
    Host& m_host;
};
