#pragma once

#include <cstdint>

// Whether anyone can see the eyes: not while the session is locked or
// disconnected, nor while the display is off, nor while the window is fully
// transparent, nor while it is hidden for a full-screen program. Each report
// says whether the animation has to stop, to play again, or to go on as it
// is, so that a report that changes nothing never restarts the clip.
class EyesVisibility {
public:
    enum class Change { kNone, kStop, kPlay };

    // The session events of WM_WTSSESSION_CHANGE.
    static constexpr uint32_t kConsoleConnect = 1;
    static constexpr uint32_t kConsoleDisconnect = 2;
    static constexpr uint32_t kRemoteConnect = 3;
    static constexpr uint32_t kRemoteDisconnect = 4;
    static constexpr uint32_t kSessionLock = 7;
    static constexpr uint32_t kSessionUnlock = 8;
    // The display states of the power setting notifications.
    static constexpr uint32_t kDisplayOff = 0;

    // Where a display state comes from: the session's own display, which
    // the system reports since Windows 8, is the one that counts once it
    // has been reported; the console's stands in before (a remote session's
    // user does not look at the console's monitor).
    enum class Display { kConsole, kSession };

    Change SessionChanged(uint32_t event);
    // On and dimmed both show the window.
    Change DisplayChanged(Display source, uint32_t state);
    Change OpacityChanged(uint8_t alphaByte);
    Change HiddenChanged(bool hidden);
    // Nobody is there to see anything: locked, away or the display off.
    bool Away() const { return m_bLocked || m_bDisconnected || m_bDisplayOff; }
    bool Seen() const { return !Away() && !m_bTransparent && !m_bHidden; }

private:
    Change From(bool seenBefore) const;

    bool m_bLocked = false;
    bool m_bDisconnected = false;
    bool m_bDisplayOff = false;
    bool m_bSessionDisplayReported = false;
    bool m_bTransparent = false;
    bool m_bHidden = false;
};
