// The settings store against the system registry, with the bytes read back
// by the raw registry calls rather than through the store.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/SettingsStore.h"
#include "settings/Win32Registry.h"
#include "tests/support/WinTestSupport.h"

namespace {

const char* const kExe = "C:\\Tests\\Lumeyra.exe";
using Bytes = std::vector<uint8_t>;

class Host : public SettingsStore::Host {
public:
    std::string ExePath() override { return kExe; }
    void ShowAutoStartError(const char* text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

using testsupport::ReadRaw;

void Write(const char* name, DWORD type, const Bytes& data) {
    ASSERT_TRUE(testsupport::WriteSetting(name, type, data));
}

class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override { testsupport::ForgetSettings(); }
    void TearDown() override { testsupport::ForgetSettings(); }
    testsupport::RawValue Product(const char* name) { return ReadRaw(HKEY_CURRENT_USER, kProductKey, name); }
    Settings Load() {
        Settings s{};
        EXPECT_TRUE(store.LoadSettings(s));
        return s;
    }

    CWin32Registry registry;
    Host host;
    SettingsStore store{registry, host};
};

TEST_F(RegistryStoreTest, FirstRunStoresDecimalTextInDwordValues) {
    Settings s = Load();
    EXPECT_EQ(s.TimeWork, 45);
    EXPECT_EQ(s.AutoStart, 1);
    const std::pair<const char*, Bytes> expected[] = {
        {"TimeWork", {'4', '5', 0, 0}}, {"TimeRelese", {'1', '5', 0, 0}}, {"WindowType", {'0', 0, 0, 0}},
        {"xPos", {'0', 0, 0, 0}},       {"yPos", {'0', 0, 0, 0}},         {"alpha", {'5', '0', 0, 0}},
        {"StopTimer", {'0', 0, 0, 0}}};
    for (const auto& [name, bytes] : expected) {
        testsupport::RawValue raw = Product(name);
        EXPECT_EQ(raw.status, ERROR_SUCCESS) << name;
        EXPECT_EQ(raw.type, static_cast<DWORD>(REG_DWORD)) << name;
        EXPECT_EQ(raw.data, bytes) << name;
    }
    testsupport::RawValue run = ReadRaw(HKEY_LOCAL_MACHINE, kRunKey, kRunValue);
    EXPECT_EQ(run.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(run.data, Bytes(kExe, kExe + strlen(kExe) + 1));
}

TEST_F(RegistryStoreTest, ReadsWhatOthersWroteByTheTextRule) {
    Load();
    Write("TimeWork", REG_SZ, {'3', '0', 0});
    Write("TimeRelese", REG_DWORD, {0x2D, 0, 0, 0});                      // 45 in machine order
    Write("xPos", REG_BINARY, {'1', '2', '3', '4', '5', '6', '7', '8'});  // longer than 7 bytes
    Write("yPos", REG_DWORD, {'9', '9', '9', '9'});
    Settings s = Load();
    EXPECT_EQ(s.TimeWork, 30);
    EXPECT_EQ(s.TimeRelese, 0);
    EXPECT_EQ(s.xPos, 0);
    EXPECT_EQ(s.yPos, 9999);
}

TEST_F(RegistryStoreTest, SaveCutsLongNumbersAndLeavesStopTimer) {
    Load();
    store.SaveStopTimer(1);
    Settings s{12345, -1000, 1, 9999, -5, 1, 100, 0};
    EXPECT_TRUE(store.SaveSettings(s, false));
    EXPECT_EQ(Product("TimeWork").data, (Bytes{'1', '2', '3', '4'}));
    EXPECT_EQ(Product("TimeRelese").data, (Bytes{'-', '1', '0', '0'}));
    EXPECT_EQ(Product("xPos").data, (Bytes{'9', '9', '9', '9'}));
    EXPECT_EQ(Product("yPos").data, (Bytes{'-', '5', 0, 0}));
    EXPECT_EQ(Product("alpha").data, (Bytes{'1', '0', '0', 0}));
    EXPECT_EQ(Product("StopTimer").data, (Bytes{'1', 0, 0, 0}));
    Settings back = Load();
    EXPECT_EQ(back.TimeWork, 1234);
    EXPECT_EQ(back.TimeRelese, -100);
    EXPECT_EQ(back.StopTimer, 1);
}

TEST_F(RegistryStoreTest, AutoStartValueAddedRemovedAndFailureReported) {
    Settings s = Load();
    s.AutoStart = 0;
    EXPECT_TRUE(store.SaveSettings(s, true));
    EXPECT_EQ(ReadRaw(HKEY_LOCAL_MACHINE, kRunKey, kRunValue).status, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Load().AutoStart, 0);
    EXPECT_TRUE(host.messages.empty());

    EXPECT_TRUE(store.SaveSettings(s, true));  // nothing left to delete
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], kAutoStartErrorText);

    s.AutoStart = 1;
    EXPECT_TRUE(store.SaveSettings(s, true));
    EXPECT_EQ(ReadRaw(HKEY_LOCAL_MACHINE, kRunKey, kRunValue).status, ERROR_SUCCESS);
    EXPECT_EQ(Load().AutoStart, 1);
    EXPECT_EQ(host.messages.size(), 1u);
}

}  // namespace
