#pragma once

#include <cstdint>
#include <string>

class RestDialogs;

// The work timer: once a second it decides from what it observes whether the
// user was active and keeps the count of continuous work; past the limit it
// hands back that the rest is due, and the rest sequence runs the two
// dialogs of a rest. All it keeps is in WorkTimerState, held by the caller.

struct CursorPoint {
    int32_t x = 0, y = 0;
    bool operator==(const CursorPoint&) const = default;
};

struct WorkTimerState {
    CursorPoint m_ptLastCursor;
    int32_t m_nWorkSeconds = 0;
    int32_t m_nIdleSeconds = 0;
    bool m_bStopped = false;
    int32_t m_nPostponements = 0;
    int32_t m_nTimeWork = 45;    // minutes
    int32_t m_nTimeRelese = 15;  // minutes
    // When the previous tick reached the handler, by the monotonic clock;
    // negative before the first.
    int64_t m_nLastTickMs = -1;
    // The prompt and the rest timer window are open.
    bool m_bInRest = false;
    // The rest is due, and its prompt waits for the user to be free.
    bool m_bPromptHeld = false;
};

// What a tick observes of the world.
class WorkTimerSenses {
public:
    virtual ~WorkTimerSenses() = default;
    // False when the position cannot be read (a locked desktop).
    virtual bool CursorPos(CursorPoint& point) = 0;
    virtual bool WasKeyDown() = 0;
    virtual void ResetKeyDown() = 0;
    virtual int64_t NowMs() = 0;  // monotonic
};

// The minutes of work after which the prompt comes: the limit, and five
// more for each postponement.
int32_t LimitMinutes(const WorkTimerState& state);

// The text of the rest prompt for a limit of `limitMinutes`.
std::string RestMessage(int32_t timeRelese, int32_t limitMinutes);

// The most work a due prompt waits for a busy user: past it, the prompt
// opens whatever is in front.
inline constexpr int32_t kMostHeldSeconds = 30 * 60;

// One tick of the work timer. True when the rest is due: the caller then
// makes the dialogs and runs RunRestSequence before anything else. With
// `holdPrompt` (the user presents or plays full screen) a due rest waits:
// the tick counts as any other and returns false, and the first tick
// without it returns true if the rest is still due. It waits for at most
// kMostHeldSeconds of work past the limit; then it is due all the same.
bool WorkTimerTick(WorkTimerState& state, WorkTimerSenses& senses, bool holdPrompt = false);

// The rest sequence, in its order: the prompt with `promptOpen` set (the
// notification icon's menu is refused meanwhile), the rest timer window if
// the user rests, and the counts that follow. Ticks that arrive while the
// dialogs run their loops are ignored.
void RunRestSequence(WorkTimerState& state, RestDialogs& dialogs, int& promptOpen);
