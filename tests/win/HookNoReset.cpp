// A hook library that lacks "ResetKeyDown" and always reports a key press.
extern "C" {
__declspec(dllexport) int RunStopHook(int) { return 1; }
__declspec(dllexport) int ReturnWasKeyDown() { return 1; }
}
