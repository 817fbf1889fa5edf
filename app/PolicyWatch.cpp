#include "app/PolicyWatch.h"

#include <userenv.h>

#include <iterator>

#include "core/Policies.h"
#include "framework/Text.h"

namespace {

// The policy key and the parents it may be created under, deepest first:
// the watch stands on the deepest that exists.
constexpr const char* kWatched[] = {kPolicyKey, "SOFTWARE\\Policies", "SOFTWARE"};
constexpr int kNone = static_cast<int>(std::size(kWatched));

// Where none of them could be opened or watched, it tries again this often.
constexpr DWORD kRetryMs = 1000;

KeyHandle OpenWatched(int level) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Widen(kWatched[level]).c_str(), 0, KEY_NOTIFY | KEY_WOW64_64KEY,
                      &key) != ERROR_SUCCESS)
        return KeyHandle();
    return KeyHandle(key);
}

}  // namespace

bool CPolicyWatch::Start(HWND window, UINT message) {
    Stop();
    m_hWnd = window;
    m_uMessage = message;
    m_stop.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    m_policyApplied.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!m_stop || !m_policyApplied) return false;
    m_bGroupPolicy = RegisterGPNotification(m_policyApplied.Get(), TRUE);
    m_thread = std::thread([this] { Watch(); });
    return true;
}

void CPolicyWatch::Stop() {
    if (m_thread.joinable()) {
        SetEvent(m_stop.Get());
        m_thread.join();
    }
    if (m_bGroupPolicy) UnregisterGPNotification(m_policyApplied.Get());
    m_bGroupPolicy = false;
}

// A registry notification belongs to the thread that asked for it, and
// ends with it: this thread asks, and lives as long as the watch.
void CPolicyWatch::Watch() {
    EventHandle changed(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!changed) return;
    KeyHandle key;
    int level = kNone;
    for (;;) {
        // On the deepest key that exists: deeper once the policy key has
        // been created, back up once it has been deleted. Closing the old
        // key signals its watch, which is no change of ours.
        KeyHandle deepest;
        int found = 0;
        while (found < kNone && !(deepest = OpenWatched(found))) ++found;
        const bool moved = found != level;
        if (moved) {
            key = std::move(deepest);
            level = found;
            ResetEvent(changed.Get());
        }
        const bool armed = key && RegNotifyChangeKeyValue(key.Get(), FALSE,
                                                          REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                                          changed.Get(), TRUE) == ERROR_SUCCESS;
        // Values written between the key's creation and this watch on it
        // raised no change: the policies are read once more now.
        if (armed && moved && level == 0) PostMessageW(m_hWnd, m_uMessage, 0, 0);
        // Where nothing could be watched, the keys are looked at again after
        // a while.
        const HANDLE waits[] = {m_stop.Get(), m_policyApplied.Get(), changed.Get()};
        const DWORD got = WaitForMultipleObjects(armed ? 3 : 2, waits, FALSE, armed ? INFINITE : kRetryMs);
        if (got == WAIT_OBJECT_0 || got == WAIT_FAILED) return;
        if (got == WAIT_OBJECT_0 + 1 || got == WAIT_OBJECT_0 + 2) PostMessageW(m_hWnd, m_uMessage, 0, 0);
    }
}
