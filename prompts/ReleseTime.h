#pragma once

#include <functional>

#include "controls/Label.h"
#include "core/RestClock.h"
#include "framework/Dialog.h"

// The rest timer window: counts the rest up from 00:00:00, fills its bar
// over the rest length, signals the end once, and stays until the user
// goes back to work. The work timer reads m_nTick once it has closed.
class CReleseTime : public CDialogImpl<CReleseTime>, public RestClockState {
public:
    CReleseTime();

    CLabel m_timeLabel;
    HWND m_restProgress = nullptr;
    // The monotonic clock in milliseconds, counting on through a sleep of
    // the machine; the tests set a clock of their own before the run.
    std::function<int64_t()> m_clock = [] { return static_cast<int64_t>(GetTickCount64()); };

protected:
    BOOL OnInitDialog() override;

private:
    friend class CDialogImpl<CReleseTime>;
    static std::span<const Message> Messages();
    static std::span<const Command> Commands();

    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    void OnHelpButton();
    void SignalEnd();
};
