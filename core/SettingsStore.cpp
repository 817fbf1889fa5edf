#include "core/SettingsStore.h"

#include <span>

#include "core/NumberCodec.h"

namespace {

// The values under the product key and the fields they hold, in the order
// they are read and written.
struct StoredField {
    const char* name;
    int32_t Settings::*field;
    int32_t missing;  // what the field holds when the value is missing
};
constexpr StoredField kStoredFields[] = {
    {"TimeWork", &Settings::TimeWork, 0},
    {"TimeRelese", &Settings::TimeRelese, 0},
    {"WindowType", &Settings::WindowType, 0},
    {"xPos", &Settings::xPos, 0},
    {"yPos", &Settings::yPos, 0},
    {"alpha", &Settings::alpha, 0},
    {"StopTimer", &Settings::StopTimer, 0},
    // Came later: an installation from before has no value and is quiet,
    // as a new one is.
    {"QuietFullScreen", &Settings::QuietFullScreen, 1},
};
constexpr std::span<const StoredField> kAllFields(kStoredFields);
// The first run registers the start at log-on between yPos and alpha.
constexpr auto kFirstRunBeforeAutoStart = kAllFields.first(5);
constexpr auto kFirstRunAfterAutoStart = kAllFields.subspan(5);
static_assert(kFirstRunAfterAutoStart.front().field == &Settings::alpha);

void Write(reg::Key* key, const char* name, int32_t value) {
    // Write failures on the product key are not reported: the program goes
    // on with the values it has in memory.
    if (key) key->SetDword(name, numbercodec::Encode(value));
}

int32_t Read(reg::Key& key, const StoredField& f) {
    uint8_t data[numbercodec::kReadSize] = {};
    if (!key.Query(f.name, data, sizeof data)) return f.missing;
    return numbercodec::Decode(data, sizeof data);
}

}  // namespace

void SettingsStore::ReadAll(reg::Key& key, Settings& s) {
    for (const StoredField& f : kAllFields) s.*f.field = Read(key, f);
}

bool SettingsStore::RegisterAutoStart() {
    std::string path = m_host.ExePath();
    auto run = m_registry.Open(reg::Root::LocalMachine, kRunKey, reg::Access::Write);
    return run && run->SetString(kRunValue, path);
}

void SettingsStore::WriteDefaults(reg::Key* key, Settings& s) {
    auto writeDefault = [&](const StoredField& f) {
        s.*f.field = kFirstRunSettings.*f.field;
        Write(key, f.name, s.*f.field);
    };
    for (const StoredField& f : kFirstRunBeforeAutoStart) writeDefault(f);
    // AutoStart says 1 even when the registration fails (a user who may not
    // write the machine-wide key); the next load reads the truth.
    s.AutoStart = kFirstRunSettings.AutoStart;
    try {
        RegisterAutoStart();
    } catch (...) {
        // A failed registration must not keep the program from starting.
    }
    for (const StoredField& f : kFirstRunAfterAutoStart) writeDefault(f);
}

bool SettingsStore::LoadSettings(Settings& s) {
    try {
        if (auto key = m_registry.Open(reg::Root::CurrentUser, kProductKey, reg::Access::Read)) {
            ReadAll(*key, s);
            key.reset();
            if (auto run = m_registry.Open(reg::Root::LocalMachine, kRunKey, reg::Access::Read))
                s.AutoStart = run->Exists(kRunValue) ? 1 : 0;
            return true;
        }
        // The key cannot be read, whether missing or refused: treat it as
        // the first run and write the defaults.
        auto key = m_registry.Create(reg::Root::CurrentUser, kProductKey);
        WriteDefaults(key.get(), s);
        return true;
    } catch (...) {
        return false;
    }
}

bool SettingsStore::UpdateAutoStart(bool enable) {
    if (enable) return RegisterAutoStart();
    auto run = m_registry.Open(reg::Root::LocalMachine, kRunKey, reg::Access::Write);
    return run && run->Delete(kRunValue);
}

bool SettingsStore::SaveSettings(const Settings& s, bool autoStartChanged, const Policies& held) {
    try {
        {
            auto key = m_registry.Create(reg::Root::CurrentUser, kProductKey);
            // The stop flag has a command of its own; what a policy holds
            // stays as the user left it.
            for (const StoredField& f : kAllFields)
                if (f.field != &Settings::StopTimer && !held.Holds(f.field))
                    Write(key.get(), f.name, s.*f.field);
        }
        if (autoStartChanged && !UpdateAutoStart(s.AutoStart == 1))
            m_host.ShowAutoStartError(kAutoStartErrorText);
        return true;
    } catch (...) {
        return false;
    }
}

void SettingsStore::SaveStopTimer(int32_t stopTimer) {
    auto key = m_registry.Create(reg::Root::CurrentUser, kProductKey);
    Write(key.get(), "StopTimer", stopTimer);
}
