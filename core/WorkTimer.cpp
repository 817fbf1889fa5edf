#include "core/WorkTimer.h"

#include <cstdio>

#include "core/LateTick.h"
#include "core/RestDialogs.h"

namespace {

void ResetCounters(WorkTimerState& s) {
    s.m_nWorkSeconds = 0;
    s.m_nIdleSeconds = 0;
    s.m_nPostponements = 0;
}

// A pause longer than the rest is a rest of its own.
void EndLongPause(WorkTimerState& s, int32_t restSeconds) {
    if (s.m_nIdleSeconds > restSeconds) ResetCounters(s);
}

}  // namespace

int32_t LimitMinutes(const WorkTimerState& s) { return s.m_nPostponements * 5 + s.m_nTimeWork; }

std::string RestMessage(int32_t timeRelese, int32_t m) {
    char text[256];
    if (m < 60)
        std::snprintf(text, sizeof text,
                      "Вы уже работаете без перерыва (%i мин.) больше %i мин.\rОтдохните!!!", timeRelese, m);
    else
        std::snprintf(text, sizeof text,
                      "Вы уже работаете без перерыва (%i хв.) больше %i ч. %i мин. Отдохните!!!", timeRelese,
                      m / 60, m % 60);
    return text;
}

void RunRestSequence(WorkTimerState& s, RestDialogs& dialogs, int& promptOpen) {
    // The rest as the tick saw it and the prompt says it: settings or a
    // policy changed while the prompt is open count from the next rest.
    const int32_t restAtTick = s.m_nTimeRelese * 60;
    s.m_bStopped = true;
    s.m_bInRest = true;
    s.m_bPromptHeld = false;
    dialogs.SetMessage(RestMessage(s.m_nTimeRelese, LimitMinutes(s)));
    promptOpen = 1;
    if (dialogs.RunPrompt() == 1) {
        const int32_t rest = restAtTick;
        dialogs.SetRestSeconds(rest);
        dialogs.RunRestTimer();
        s.m_nIdleSeconds = 0;
        s.m_nPostponements = 0;
        // A rest cut short leaves what it counted as work already done.
        s.m_nWorkSeconds = dialogs.RestTick() >= rest ? 0 : dialogs.RestTick();
    } else {
        ++s.m_nPostponements;
    }
    promptOpen = 0;
    s.m_bStopped = false;
    s.m_bInRest = false;
    EndLongPause(s, restAtTick);
}

bool WorkTimerTick(WorkTimerState& s, WorkTimerSenses& senses, bool holdPrompt) {
    const int64_t late = LateTickSeconds(s.m_nLastTickMs, senses.NowMs());
    if (s.m_bStopped) return false;

    const int32_t rest = s.m_nTimeRelese * 60;
    // No tick arrives while the machine sleeps: the seconds a tick comes
    // late are a pause like any other, so a sleep longer than the rest
    // counts as a rest instead of bringing the prompt a minute later.
    if (late > 0) {
        s.m_nIdleSeconds += static_cast<int32_t>(late);
        EndLongPause(s, rest);
    }

    CursorPoint p = s.m_ptLastCursor;
    if (!senses.CursorPos(p)) p = s.m_ptLastCursor;  // unreadable: unchanged
    const bool idle = p == s.m_ptLastCursor && !senses.WasKeyDown();
    if (idle) {
        ++s.m_nIdleSeconds;
    } else if (s.m_nIdleSeconds == 0) {
        ++s.m_nWorkSeconds;
    } else {
        // The pause that ends counts as work; this tick adds nothing more.
        s.m_nWorkSeconds = s.m_nWorkSeconds == 0 ? 1 : s.m_nWorkSeconds + s.m_nIdleSeconds;
        s.m_nIdleSeconds = 0;
    }
    s.m_ptLastCursor = p;
    senses.ResetKeyDown();

    // Before the limit is looked at: a pause longer than the rest is a rest
    // even while a due prompt waits.
    EndLongPause(s, rest);
    const int32_t limit = LimitMinutes(s) * 60;
    const bool due = s.m_nWorkSeconds > limit;
    // Never forever: a full-screen remote desktop or game can be in front
    // all day, and the rest matters more than the quiet. A film brings no
    // input, so its minutes are a pause and never reach this.
    const bool overdue = s.m_nWorkSeconds > limit + kMostHeldSeconds;
    s.m_bPromptHeld = due && holdPrompt && !overdue;
    return due && (!holdPrompt || overdue);
}
