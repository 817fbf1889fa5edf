#include "settings/SettingsStore.h"

#include "settings/NumberCodec.h"

namespace {

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
    s.TimeWork = Read(key, "TimeWork");
    s.TimeRelese = Read(key, "TimeRelese");
    s.WindowType = Read(key, "WindowType");
    s.xPos = Read(key, "xPos");
    s.yPos = Read(key, "yPos");
    s.alpha = Read(key, "alpha");
    s.StopTimer = Read(key, "StopTimer");
}

bool SettingsStore::RegisterAutoStart() {
    std::string path = m_host.ExePath();
    auto run = m_registry.Open(reg::Root::LocalMachine, kRunKey, reg::Access::Write);
    return run && run->SetString(kRunValue, path);
}

void SettingsStore::WriteDefaults(reg::Key* key, Settings& s) {
    Write(key, "TimeWork", s.TimeWork = 45);
    Write(key, "TimeRelese", s.TimeRelese = 15);
    Write(key, "WindowType", s.WindowType = 0);
    Write(key, "xPos", s.xPos = 0);
    Write(key, "yPos", s.yPos = 0);
    // AutoStart says 1 even when the registration fails (a user who may not
    // write the machine-wide key); the next load reads the truth.
    s.AutoStart = 1;
    try {
        RegisterAutoStart();
    } catch (...) {
        // A failed registration must not keep the program from starting.
    }
    Write(key, "alpha", s.alpha = 50);
    Write(key, "StopTimer", s.StopTimer = 0);
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
            Write(key.get(), "TimeWork", s.TimeWork);
            Write(key.get(), "TimeRelese", s.TimeRelese);
            Write(key.get(), "WindowType", s.WindowType);
            Write(key.get(), "xPos", s.xPos);
            Write(key.get(), "yPos", s.yPos);
            Write(key.get(), "alpha", s.alpha);
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
