#include "settings/SettingsStore.h"

#include <span>

#include "settings/NumberCodec.h"

namespace {

// The values under the product key and the fields they hold, in the order
// they are read and written.
struct StoredField {
    const char* name;
    int32_t Settings::*field;
};
constexpr StoredField kStoredFields[] = {
    {"TimeWork", &Settings::TimeWork},
    {"TimeRelese", &Settings::TimeRelese},
    {"WindowType", &Settings::WindowType},
    {"xPos", &Settings::xPos},
    {"yPos", &Settings::yPos},
    {"alpha", &Settings::alpha},
    {"StopTimer", &Settings::StopTimer},
};
constexpr std::span<const StoredField> kAllFields(kStoredFields);
// Saving the settings leaves the stop flag alone: it has a command of its own.
constexpr auto kSavedFields = kAllFields.first(6);
// The first run registers the start at log-on between yPos and alpha.
constexpr auto kFirstRunBeforeAutoStart = kAllFields.first(5);
constexpr auto kFirstRunAfterAutoStart = kAllFields.subspan(5);
static_assert(kSavedFields.back().field == &Settings::alpha);

void Write(reg::Key* key, const char* name, int32_t value) {
    // Write failures on the product key are not reported: the program goes
    // on with the values it has in memory.
    if (key) key->SetDword(name, numbercodec::Encode(value));
}

int32_t Read(reg::Key& key, const char* name) {
    uint8_t data[numbercodec::kReadSize] = {};
    key.Query(name, data, sizeof data);
    return numbercodec::Decode(data, sizeof data);
}

}  // namespace

void SettingsStore::ReadAll(reg::Key& key, Settings& s) {
    for (const StoredField& f : kAllFields) s.*f.field = Read(key, f.name);
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

bool SettingsStore::SaveSettings(const Settings& s, bool autoStartChanged) {
    try {
        {
            auto key = m_registry.Create(reg::Root::CurrentUser, kProductKey);
            for (const StoredField& f : kSavedFields) Write(key.get(), f.name, s.*f.field);
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
