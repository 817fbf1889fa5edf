#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "core/Registry.h"
#include "core/Settings.h"

// Where an administrator sets rules for every user of the computer (Group
// Policy, Intune or a .reg file): a key that standard users cannot write.
inline constexpr const char* kPolicyKey = "SOFTWARE\\Policies\\Lumeyra";

// The machine's policies as read; a value left empty is no policy, and the
// user's own setting applies.
struct Policies {
    std::optional<int32_t> TimeWork;    // minutes
    std::optional<int32_t> TimeRelese;  // minutes
    std::optional<int32_t> AllowStopTimer;
    std::optional<int32_t> AllowExit;
    std::optional<int32_t> QuietFullScreen;  // 0 or 1

    bool StopTimerAllowed() const { return AllowStopTimer.value_or(1) != 0; }
    bool ExitAllowed() const { return AllowExit.value_or(1) != 0; }
    // Whether a policy takes the place of this setting.
    bool Holds(int32_t Settings::*setting) const;
};

// One policy value: its name under the policy key, the range outside which
// it is no policy, and the user's setting it takes the place of (none for a
// permission).
struct PolicyValue {
    const char* name;
    std::optional<int32_t> Policies::*value;
    int32_t min, max;
    int32_t Settings::*setting;
};
inline constexpr int32_t kMaxPolicyMinutes = 24 * 60;
inline constexpr PolicyValue kPolicyValues[] = {
    {"TimeWork", &Policies::TimeWork, 1, kMaxPolicyMinutes, &Settings::TimeWork},
    {"TimeRelese", &Policies::TimeRelese, 1, kMaxPolicyMinutes, &Settings::TimeRelese},
    {"AllowStopTimer", &Policies::AllowStopTimer, 0, 1, nullptr},
    {"AllowExit", &Policies::AllowExit, 0, 1, nullptr},
    {"QuietFullScreen", &Policies::QuietFullScreen, 0, 1, &Settings::QuietFullScreen},
};
std::span<const PolicyValue> PolicyValues();

// Whether some policy may take the place of this setting.
constexpr bool PolicyMayHold(int32_t Settings::*setting) {
    for (const PolicyValue& v : kPolicyValues)
        if (v.setting && v.setting == setting) return true;
    return false;
}

// Reads the policy key. Each value counts only as a REG_DWORD within its
// range, as Group Policy writes it; anything else is no policy and no error.
Policies ReadPolicies(reg::Registry& registry);

// What the program runs with: the user's settings with the policies' values
// in their place, and the timer running where it may not be stopped.
Settings Enforced(Settings user, const Policies& policies);

// The settings dialog's result with the values the policies held (shown to
// the user, not chosen) put back to the user's own.
Settings UsersOwn(Settings chosen, const Settings& user, const Policies& held);
