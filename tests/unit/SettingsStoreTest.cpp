#include "core/SettingsStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "MemoryRegistry.h"

namespace {

using reg::Access;
using reg::Root;
using Bytes = std::vector<uint8_t>;

const char* const kExe = "C:\\Program Files\\Lumeyra\\Lumeyra.exe";

class FakeHost : public SettingsStore::Host {
public:
    std::string ExePath() override { return kExe; }
    void ShowAutoStartError(const char* text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

class SettingsStoreTest : public ::testing::Test {
protected:
    SettingsStoreTest() { registry.keys[{Root::LocalMachine, kRunKey}]; }

    Settings Load(bool expectOk = true) {
        Settings s{};
        EXPECT_EQ(store.LoadSettings(s), expectOk);
        return s;
    }
    Bytes Data(Root root, const char* path, const char* name) {
        auto* values = registry.Find(root, path);
        if (!values || !values->count(name)) return {};
        return values->at(name).data;
    }
    Bytes Product(const char* name) { return Data(Root::CurrentUser, kProductKey, name); }
    bool RunValueExists() {
        auto* run = registry.Find(Root::LocalMachine, kRunKey);
        return run && run->count(kRunValue);
    }
    bool TouchedRunKey() {
        return std::any_of(registry.opened.begin(), registry.opened.end(),
                           [](const std::string& s) { return s.find("CurrentVersion\\Run") != s.npos; });
    }
    void PutText(const char* name, std::string text) {
        registry.Put(Root::CurrentUser, kProductKey, name, MemoryRegistry::kDword,
                     Bytes(text.begin(), text.end()));
    }

    MemoryRegistry registry;
    FakeHost host;
    SettingsStore store{registry, host};
};

TEST_F(SettingsStoreTest, FirstRunWritesDefaultsAndRegistersAutoStart) {
    Settings s = Load();
    EXPECT_EQ(s.TimeWork, 45);
    EXPECT_EQ(s.TimeRelese, 15);
    EXPECT_EQ(s.WindowType, 0);
    EXPECT_EQ(s.xPos, 0);
    EXPECT_EQ(s.yPos, 0);
    EXPECT_EQ(s.AutoStart, 1);
    EXPECT_EQ(s.alpha, 50);
    EXPECT_EQ(s.StopTimer, 0);
    EXPECT_EQ(s.QuietFullScreen, 1);

    EXPECT_EQ(Product("TimeWork"), (Bytes{'4', '5', 0, 0}));
    EXPECT_EQ(Product("TimeRelese"), (Bytes{'1', '5', 0, 0}));
    EXPECT_EQ(Product("WindowType"), (Bytes{'0', 0, 0, 0}));
    EXPECT_EQ(Product("xPos"), (Bytes{'0', 0, 0, 0}));
    EXPECT_EQ(Product("yPos"), (Bytes{'0', 0, 0, 0}));
    EXPECT_EQ(Product("alpha"), (Bytes{'5', '0', 0, 0}));
    EXPECT_EQ(Product("StopTimer"), (Bytes{'0', 0, 0, 0}));
    EXPECT_EQ(Product("QuietFullScreen"), (Bytes{'1', 0, 0, 0}));
    EXPECT_EQ(registry.Find(Root::CurrentUser, kProductKey)->size(), 8u);
    for (auto& [name, value] : *registry.Find(Root::CurrentUser, kProductKey))
        EXPECT_EQ(value.type, MemoryRegistry::kDword) << name;

    std::string path(kExe);
    Bytes withZero(path.begin(), path.end());
    withZero.push_back(0);
    EXPECT_EQ(Data(Root::LocalMachine, kRunKey, kRunValue), withZero);
    EXPECT_EQ(registry.Find(Root::LocalMachine, kRunKey)->at(kRunValue).type, MemoryRegistry::kString);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(SettingsStoreTest, SecondLoadReadsBackWithoutWriting) {
    Load();
    registry.opened.clear();
    Settings s = Load();
    EXPECT_EQ(s.TimeWork, 45);
    EXPECT_EQ(s.alpha, 50);
    EXPECT_EQ(s.AutoStart, 1);
    EXPECT_EQ(registry.opened,
              (std::vector<std::string>{std::string("R ") + kProductKey, std::string("R ") + kRunKey}));
}

TEST_F(SettingsStoreTest, FirstRunReportsAutoStartEvenWhenRegistrationIsRefused) {
    registry.Refuse(Root::LocalMachine, kRunKey, Access::Write);
    EXPECT_EQ(Load().AutoStart, 1);
    EXPECT_FALSE(RunValueExists());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Product("StopTimer"), (Bytes{'0', 0, 0, 0}));  // the defaults after it still land
    EXPECT_EQ(Load().AutoStart, 0);  // the next load tells the truth
}

TEST_F(SettingsStoreTest, UnreadableKeyTakesTheFirstRunPathWithoutReading) {
    PutText("TimeWork", std::string("30\0\0", 4));
    registry.Refuse(Root::CurrentUser, kProductKey, Access::Read);
    Settings s = Load();
    EXPECT_EQ(s.TimeWork, 45);
    EXPECT_EQ(Product("TimeWork"), (Bytes{'4', '5', 0, 0}));
}

TEST_F(SettingsStoreTest, MissingValueReadsZeroAndIsNotRewritten) {
    Load();
    registry.Find(Root::CurrentUser, kProductKey)->erase("TimeWork");
    // An installation from before the choice existed: quiet, as a new one.
    registry.Find(Root::CurrentUser, kProductKey)->erase("QuietFullScreen");
    Settings s = Load();
    EXPECT_EQ(s.TimeWork, 0);
    EXPECT_EQ(s.TimeRelese, 15);
    EXPECT_EQ(s.QuietFullScreen, 1);
    EXPECT_TRUE(Product("TimeWork").empty());
    EXPECT_TRUE(Product("QuietFullScreen").empty());
    PutText("QuietFullScreen", std::string("0\0\0\0", 4));
    EXPECT_EQ(Load().QuietFullScreen, 0);
}

TEST_F(SettingsStoreTest, DecodesHandEditedValues) {
    Load();
    registry.Put(Root::CurrentUser, kProductKey, "TimeWork", MemoryRegistry::kString, {'3', '0', 0});
    registry.Put(Root::CurrentUser, kProductKey, "TimeRelese", MemoryRegistry::kDword, {0x2D, 0, 0, 0});
    PutText("xPos", "9999");
    PutText("yPos", std::string("-5\0\0", 4));
    PutText("alpha", "12345678");  // longer than the read buffer: reads as 0
    Settings s = Load();
    EXPECT_EQ(s.TimeWork, 30);
    EXPECT_EQ(s.TimeRelese, 0);
    EXPECT_EQ(s.xPos, 9999);
    EXPECT_EQ(s.yPos, -5);
    EXPECT_EQ(s.alpha, 0);
}

TEST_F(SettingsStoreTest, AutoStartFollowsAnyRunValueAndKeepsCallersValueWithoutRunKey) {
    Load();
    registry.Put(Root::LocalMachine, kRunKey, kRunValue, MemoryRegistry::kString, {'x', 0});
    EXPECT_EQ(Load().AutoStart, 1);
    registry.Find(Root::LocalMachine, kRunKey)->clear();
    EXPECT_EQ(Load().AutoStart, 0);

    registry.Refuse(Root::LocalMachine, kRunKey, Access::Read);
    Settings s{};
    s.AutoStart = 7;
    EXPECT_TRUE(store.LoadSettings(s));
    EXPECT_EQ(s.AutoStart, 7);
}

TEST_F(SettingsStoreTest, SaveWritesSevenValuesButNeverStopTimer) {
    Load();
    store.SaveStopTimer(1);
    Settings s{30, 10, 1, 100, 9999, 1, 12345, 0};
    EXPECT_TRUE(store.SaveSettings(s, false));
    EXPECT_EQ(Product("TimeWork"), (Bytes{'3', '0', 0, 0}));
    EXPECT_EQ(Product("TimeRelese"), (Bytes{'1', '0', 0, 0}));
    EXPECT_EQ(Product("WindowType"), (Bytes{'1', 0, 0, 0}));
    EXPECT_EQ(Product("xPos"), (Bytes{'1', '0', '0', 0}));
    EXPECT_EQ(Product("yPos"), (Bytes{'9', '9', '9', '9'}));
    EXPECT_EQ(Product("alpha"), (Bytes{'1', '2', '3', '4'}));
    EXPECT_EQ(Product("StopTimer"), (Bytes{'1', 0, 0, 0}));
    EXPECT_EQ(Product("QuietFullScreen"), (Bytes{'0', 0, 0, 0}));
    EXPECT_FALSE(Product("AutoStart").size());
}

TEST_F(SettingsStoreTest, SaveLeavesRunKeyAloneUnlessAutoStartChanged) {
    Load();
    registry.Find(Root::LocalMachine, kRunKey)->clear();
    registry.opened.clear();
    Settings s = Load();  // AutoStart 0 now
    s.AutoStart = 1;
    registry.opened.clear();
    EXPECT_TRUE(store.SaveSettings(s, false));
    EXPECT_FALSE(TouchedRunKey());
    EXPECT_FALSE(RunValueExists());
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(SettingsStoreTest, SaveAddsAndRemovesTheRunValue) {
    Settings s = Load();
    s.AutoStart = 0;
    EXPECT_TRUE(store.SaveSettings(s, true));
    EXPECT_FALSE(RunValueExists());
    s.AutoStart = 1;
    EXPECT_TRUE(store.SaveSettings(s, true));
    EXPECT_TRUE(RunValueExists());
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(SettingsStoreTest, FailedRunUpdateShowsOneMessageAfterTheValuesLanded) {
    Settings s = Load();
    registry.Find(Root::LocalMachine, kRunKey)->clear();
    s.AutoStart = 0;  // deleting a value that is not there fails
    s.TimeWork = 60;
    EXPECT_TRUE(store.SaveSettings(s, true));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0],
              "Ошибка при записи в реестр.\rВозможно у вас недостаточно прав.\r"
              "Небыло измененно параметра \"Запускать при Старте.\" ");
    EXPECT_EQ(Product("TimeWork"), (Bytes{'6', '0', 0, 0}));

    registry.Refuse(Root::LocalMachine, kRunKey, Access::Write);
    s.AutoStart = 1;
    EXPECT_TRUE(store.SaveSettings(s, true));
    EXPECT_EQ(host.messages.size(), 2u);
}

TEST_F(SettingsStoreTest, SaveStopTimerChangesNothingElse) {
    Load();
    auto before = *registry.Find(Root::CurrentUser, kProductKey);
    store.SaveStopTimer(1);
    auto after = *registry.Find(Root::CurrentUser, kProductKey);
    EXPECT_EQ(after.at("StopTimer").data, (Bytes{'1', 0, 0, 0}));
    after.erase("StopTimer");
    before.erase("StopTimer");
    EXPECT_EQ(after.size(), before.size());
    for (auto& [name, value] : before) EXPECT_EQ(after.at(name).data, value.data) << name;
}

TEST_F(SettingsStoreTest, HostFailureIsSwallowedDuringFirstRunButFailsASave) {
    class ThrowingHost : public FakeHost {
        std::string ExePath() override { throw std::bad_alloc(); }
    } throwing;
    SettingsStore failing(registry, throwing);
    Settings s{};
    // On the first run the registration's failure is swallowed...
    EXPECT_TRUE(failing.LoadSettings(s));
    EXPECT_EQ(s.StopTimer, 0);
    EXPECT_EQ(s.alpha, 50);
    // ...but the same failure in a save ends it with false.
    s.AutoStart = 1;
    EXPECT_FALSE(failing.SaveSettings(s, true));
}

// What an administrator may have left under the policy key: only a
// REG_DWORD within its range is a policy; anything else leaves the user's
// setting in force, and the other policies empty.
TEST_F(SettingsStoreTest, PolicyValuesCountOnlyAsDwordsInRange) {
    auto dword = [](uint32_t n) {
        Bytes b(sizeof n);
        std::memcpy(b.data(), &n, sizeof n);
        return b;
    };
    constexpr auto kMissing = static_cast<MemoryRegistry::Type>(0);
    struct Case {
        const char* name;
        MemoryRegistry::Type type;
        Bytes data;
        std::optional<int32_t> expected;
    };
    const Case cases[] = {
        {"TimeWork", kMissing, {}, std::nullopt},
        {"TimeWork", MemoryRegistry::kDword, dword(1), 1},
        {"TimeWork", MemoryRegistry::kDword, dword(1440), 1440},
        {"TimeWork", MemoryRegistry::kDword, dword(0), std::nullopt},
        {"TimeWork", MemoryRegistry::kDword, dword(1441), std::nullopt},
        {"TimeRelese", MemoryRegistry::kDword, dword(30), 30},
        {"TimeRelese", MemoryRegistry::kDword, dword(0xFFFFFFFF), std::nullopt},
        {"TimeRelese", MemoryRegistry::kString, {'3', '0', 0}, std::nullopt},
        {"TimeRelese", MemoryRegistry::kBinary, dword(30), std::nullopt},
        {"TimeRelese", MemoryRegistry::kDword, {'3', '0', 0, 0}, std::nullopt},  // the settings' text
        {"TimeRelese", MemoryRegistry::kDword, {30, 0, 0, 0, 0, 0, 0, 0}, std::nullopt},
        {"AllowStopTimer", MemoryRegistry::kDword, dword(0), 0},
        {"AllowStopTimer", MemoryRegistry::kDword, dword(2), std::nullopt},
        {"AllowExit", MemoryRegistry::kDword, dword(1), 1},
        {"AllowExit", MemoryRegistry::kString, {'0', 0}, std::nullopt},
        {"QuietFullScreen", MemoryRegistry::kDword, dword(0), 0},
        {"QuietFullScreen", MemoryRegistry::kDword, dword(1), 1},
        {"QuietFullScreen", MemoryRegistry::kDword, {'0', 0, 0, 0}, std::nullopt},  // the settings' text
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.name << " type " << c.type << " of " << c.data.size() << " bytes");
        registry.keys.erase({Root::LocalMachine, kPolicyKey});
        if (c.type != kMissing) registry.Put(Root::LocalMachine, kPolicyKey, c.name, c.type, c.data);
        const Policies policies = store.LoadPolicies();
        for (const PolicyValue& v : PolicyValues())
            EXPECT_EQ(policies.*v.value, v.name == std::string(c.name) ? c.expected : std::nullopt) << v.name;
    }
    // The user's own key is no place for policies.
    registry.keys.erase({Root::LocalMachine, kPolicyKey});
    registry.Put(Root::CurrentUser, kPolicyKey, "TimeWork", MemoryRegistry::kDword, dword(1));
    EXPECT_FALSE(store.LoadPolicies().TimeWork);
}

// A policy's value runs in place of the user's, which stays in the key as
// the user left it, and is what the settings dialog gives back for the
// field the policy held.
TEST_F(SettingsStoreTest, PoliciesRunInPlaceOfTheUsersValuesWhichSavingLeavesAlone) {
    Load();
    registry.Put(Root::CurrentUser, kProductKey, "TimeWork", MemoryRegistry::kString, {'3', '0', 0});
    store.SaveStopTimer(1);
    const Settings user = Load();
    Policies policies;
    policies.TimeWork = 1;
    policies.AllowStopTimer = 0;

    const Settings run = Enforced(user, policies);
    EXPECT_EQ(run.TimeWork, 1);
    EXPECT_EQ(run.TimeRelese, 15);
    EXPECT_EQ(run.StopTimer, 0) << "the timer counts where it may not be stopped";
    EXPECT_EQ(run.alpha, 50);
    policies.AllowStopTimer = 1;
    EXPECT_EQ(Enforced(user, policies).StopTimer, 1);
    EXPECT_EQ(Enforced(user, Policies{}).TimeWork, 30);

    Settings chosen = run;  // the dialog showed the policy's 1
    chosen.TimeRelese = 20;
    const Settings own = UsersOwn(chosen, user, policies);
    EXPECT_EQ(own.TimeWork, 30);
    EXPECT_EQ(own.TimeRelese, 20);
    EXPECT_TRUE(store.SaveSettings(own, false, policies));
    const MemoryRegistry::Value& kept = registry.Find(Root::CurrentUser, kProductKey)->at("TimeWork");
    EXPECT_EQ(kept.type, MemoryRegistry::kString);
    EXPECT_EQ(kept.data, (Bytes{'3', '0', 0}));
    EXPECT_EQ(Product("TimeRelese"), (Bytes{'2', '0', 0, 0}));
}

// The administrative template that ships offers every policy the program
// reads, for the machine, under the policy key, with the range the program
// takes; and no other.
TEST(PolicyTemplate, OffersEveryPolicyValueWithItsKeyAndRange) {
    std::ifstream in(LUMEYRA_SOURCE_DIR "/res/policies/Lumeyra.admx");
    const std::string admx{std::istreambuf_iterator<char>(in), {}};
    ASSERT_FALSE(admx.empty());
    size_t policies = 0;
    for (size_t at = admx.find("<policy "); at != std::string::npos; at = admx.find("<policy ", at + 1))
        ++policies;
    EXPECT_EQ(policies, PolicyValues().size());
    for (const PolicyValue& v : PolicyValues()) {
        const std::string name = v.name;
        const size_t begin = admx.find("<policy name=\"" + name + "\"");
        ASSERT_NE(begin, std::string::npos) << name;
        const std::string policy = admx.substr(begin, admx.find("</policy>", begin) - begin);
        // A choice is enabled (1) or disabled (0); a number is typed within
        // its range.
        const std::string range =
            v.min == 0 && v.max == 1
                ? "<enabledValue><decimal value=\"1\" /></enabledValue>\n"
                  "      <disabledValue><decimal value=\"0\" /></disabledValue>"
                : "minValue=\"" + std::to_string(v.min) + "\" maxValue=\"" + std::to_string(v.max) + "\"";
        for (const std::string& wanted :
             {std::string("class=\"Machine\""), "key=\"" + std::string(kPolicyKey) + "\"",
              "valueName=\"" + name + "\"", range})
            EXPECT_NE(policy.find(wanted), std::string::npos) << name << " lacks " << wanted;
    }
}

}  // namespace
