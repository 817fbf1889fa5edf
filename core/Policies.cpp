#include "core/Policies.h"

namespace {

// A value is read as the unsigned number Group Policy writes.
constexpr bool RangesAreUnsigned() {
    for (const PolicyValue& v : kPolicyValues)
        if (v.min < 0 || v.max < v.min) return false;
    return true;
}
static_assert(RangesAreUnsigned());

}  // namespace

std::span<const PolicyValue> PolicyValues() { return kPolicyValues; }

bool Policies::Holds(int32_t Settings::*setting) const {
    for (const PolicyValue& v : kPolicyValues)
        if (v.setting == setting && (this->*v.value).has_value()) return true;
    return false;
}

Policies ReadPolicies(reg::Registry& registry) {
    Policies policies;
    auto key = registry.Open(reg::Root::LocalMachine, kPolicyKey, reg::Access::Read);
    if (!key) return policies;
    for (const PolicyValue& v : kPolicyValues) {
        uint32_t number = 0;
        // Unsigned: 0xFFFFFFFF is a large number here, not -1.
        if (key->QueryDword(v.name, number) && number >= static_cast<uint32_t>(v.min) &&
            number <= static_cast<uint32_t>(v.max))
            policies.*v.value = static_cast<int32_t>(number);
    }
    return policies;
}

Settings Enforced(Settings user, const Policies& policies) {
    for (const PolicyValue& v : kPolicyValues)
        if (v.setting && (policies.*v.value).has_value()) user.*v.setting = *(policies.*v.value);
    if (!policies.StopTimerAllowed()) user.StopTimer = 0;
    return user;
}

Settings UsersOwn(Settings chosen, const Settings& user, const Policies& held) {
    for (const PolicyValue& v : kPolicyValues)
        if (v.setting && held.Holds(v.setting)) chosen.*v.setting = user.*v.setting;
    return chosen;
}
