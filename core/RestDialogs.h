#pragma once

#include <cstdint>
#include <string>

// The rest prompt and the rest timer window, as the rest sequence runs them.
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

// The two dialogs of a rest, made together before the prompt shows and
// destroyed together, the rest timer window first: members go in reverse
// order. `Prompt` runs with its m_strMessage; `RestTimer` with its
// m_nRestSeconds, counting into m_nTick.
template <class Prompt, class RestTimer>
class RestDialogPair final : public RestDialogs {
public:
    RestDialogPair() = default;
    // Both dialogs made from the same argument: the tests' recorder.
    template <class Arg>
    explicit RestDialogPair(Arg& arg) : m_prompt(arg), m_restTimer(arg) {}

    void SetMessage(const std::string& message) override { m_prompt.m_strMessage = message; }
    int RunPrompt() override { return static_cast<int>(m_prompt.DoModal()); }
    void SetRestSeconds(int32_t seconds) override { m_restTimer.m_nRestSeconds = seconds; }
    void RunRestTimer() override { m_restTimer.DoModal(); }
    int32_t RestTick() const override { return m_restTimer.m_nTick; }

private:
    Prompt m_prompt;
    RestTimer m_restTimer;
};
