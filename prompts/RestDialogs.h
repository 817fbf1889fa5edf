#pragma once

#include "app/WorkTimer.h"
#include "prompts/Relese.h"
#include "prompts/ReleseTime.h"

// The two dialogs of a rest, made together before the prompt shows. Members
// go in reverse order, so the rest timer window is destroyed first.
class CRestDialogs : public RestDialogs {
public:
    void SetMessage(const std::string& message) override { m_prompt.m_strMessage = message; }
    int RunPrompt() override { return static_cast<int>(m_prompt.DoModal()); }
    void SetRestSeconds(int32_t seconds) override { m_restTimer.m_nRestSeconds = seconds; }
    void RunRestTimer() override { m_restTimer.DoModal(); }
    int32_t RestTick() const override { return m_restTimer.m_nTick; }

private:
    CRelese m_prompt;
    CReleseTime m_restTimer;
};
