#include "app/HookLibrary.h"

#include "framework/Text.h"

namespace {

template <class Fn>
Fn Lookup(HMODULE module, const char* name) {
    // Through void(*)(), the one function-pointer type a cast may pass by
    // without a warning.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

void CHookLibrary::Load(const char* name) {
    Unload();
    m_module.Reset(LoadLibrary(Widen(name).c_str()));
    if (!m_module) return;
    m_pRunStopHook = Lookup<RunStopHookFn>(m_module.Get(), "RunStopHook");
    m_pReturnWasKeyDown = Lookup<ReturnWasKeyDownFn>(m_module.Get(), "ReturnWasKeyDown");
    m_pResetKeyDown = Lookup<ResetKeyDownFn>(m_module.Get(), "ResetKeyDown");
    // All three or none: a flag that could be read but never reset would
    // count every second as work.
    if (!m_pRunStopHook || !m_pReturnWasKeyDown || !m_pResetKeyDown) {
        m_pRunStopHook = nullptr;
        Unload();
        return;
    }
    m_pRunStopHook(1);
}

void CHookLibrary::Unload() {
    if (m_pRunStopHook) m_pRunStopHook(0);
    m_pRunStopHook = nullptr;
    m_pReturnWasKeyDown = nullptr;
    m_pResetKeyDown = nullptr;
    m_module.Reset();
}
