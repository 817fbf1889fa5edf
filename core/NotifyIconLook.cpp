#include "core/NotifyIconLook.h"

#include <cstdio>

namespace {

// The line under the program's name: the minutes to the prompt (rounded
// up), the stopped timer, the rest, or the prompt held back.
std::string WorkStateText(const WorkTimerState& s) {
    if (s.m_bInRest) return "Отдых";
    if (s.m_bStopped) return "Таймер остановлен";
    if (s.m_bPromptHeld) return "Отдых отложен: полноэкранная программа";
    // The prompt comes a second after the limit: at the limit one minute
    // is still to go.
    const int32_t left = LimitMinutes(s) * 60 - s.m_nWorkSeconds;
    const int32_t minutes = left <= 0 ? 1 : (left + 59) / 60;
    char text[64];
    std::snprintf(text, sizeof text, "До отдыха: %i мин.", minutes);
    return text;
}

}  // namespace

NotifyIconLook NotifyIconFor(const WorkTimerState& s) {
    // During a rest the timer stands still without the user's stop.
    return {.stoppedPicture = s.m_bStopped && !s.m_bInRest, .tip = "Lumeyra\n" + WorkStateText(s)};
}
