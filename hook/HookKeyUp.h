#pragma once

// The keyboard-hook library's exports, plain C functions looked up by name.
// After RunStopHook(1) a key press anywhere on the desktop sets a flag that
// stays set, however often it is read, until ResetKeyDown; RunStopHook(0)
// stops watching.
extern "C" {
using RunStopHookFn = int (*)(int run);
using ReturnWasKeyDownFn = int (*)();
using ResetKeyDownFn = void (*)();
}
