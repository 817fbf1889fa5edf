#include "core/EyesVisibility.h"

EyesVisibility::Change EyesVisibility::From(bool seenBefore) const {
    if (seenBefore == Seen()) return Change::kNone;
    return Seen() ? Change::kPlay : Change::kStop;
}

EyesVisibility::Change EyesVisibility::SessionChanged(uint32_t event) {
    const bool before = Seen();
    switch (event) {
        case kSessionLock:
            m_bLocked = true;
            break;
        case kSessionUnlock:
            m_bLocked = false;
            break;
        case kConsoleDisconnect:
        case kRemoteDisconnect:
            m_bDisconnected = true;
            break;
        case kConsoleConnect:
        case kRemoteConnect:
            m_bDisconnected = false;
            break;
        default:
            break;  // log-on, log-off, remote control: nothing to see
    }
    return From(before);
}

EyesVisibility::Change EyesVisibility::DisplayChanged(Display source, uint32_t state) {
    const bool before = Seen();
    if (source == Display::kSession) m_bSessionDisplayReported = true;
    if (source == Display::kSession || !m_bSessionDisplayReported) m_bDisplayOff = state == kDisplayOff;
    return From(before);
}

EyesVisibility::Change EyesVisibility::OpacityChanged(uint8_t alphaByte) {
    const bool before = Seen();
    m_bTransparent = alphaByte == 0;
    return From(before);
}

EyesVisibility::Change EyesVisibility::HiddenChanged(bool hidden) {
    const bool before = Seen();
    m_bHidden = hidden;
    return From(before);
}
