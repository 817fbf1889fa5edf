#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The work timer: once a second it decides whether the user was active,
// keeps the count of continuous work, and past the limit runs the rest
// sequence. It holds no state of its own beyond what the main window keeps
// in these fields.

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
};

// The rest prompt and the rest timer window, created together and destroyed
// together (the rest timer window first) when this object goes away.
class RestDialogs {
public:
    virtual ~RestDialogs() = default;
    virtual void SetMessage(const std::string& message) = 0;
    // The prompt's result: 1 rests now, anything else postpones.
    virtual int RunPrompt() = 0;
    virtual void SetRestSeconds(int32_t seconds) = 0;
    virtual void RunRestTimer() = 0;
    // The rest timer window's count once it has closed.
    virtual int32_t RestTick() const = 0;
};

// What a tick observes of the world and what the rest sequence needs.
class WorkTimerHost {
public:
    virtual ~WorkTimerHost() = default;
    // False when the position cannot be read (a locked desktop).
    virtual bool CursorPos(CursorPoint& point) = 0;
    virtual bool WasKeyDown() = 0;
    virtual void ResetKeyDown() = 0;
    virtual int64_t NowMs() = 0;  // monotonic
    virtual void SetPromptOpen(int open) = 0;
    virtual std::unique_ptr<RestDialogs> CreateRestDialogs() = 0;
};

// A tick arriving this much later than the previous one means the machine
// slept or the session hung; the 1.6 s of the end-of-rest beeps stay below.
inline constexpr int64_t kLateTickMs = 5000;

// The text of the rest prompt for a limit of `limitMinutes`.
std::string RestMessage(int32_t timeRelese, int32_t limitMinutes);

// One tick of the work timer.
void WorkTimerTick(WorkTimerState& state, WorkTimerHost& host);
