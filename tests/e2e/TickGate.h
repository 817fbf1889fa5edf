#pragma once

// What the driver and the tick gate inside the program agree on.

// The id of the main window's own timer, whose ticks the gate drops.
inline constexpr UINT_PTR kProgramTimerId = 1;
// The id the driver's posted ticks carry (the program ignores the id), so
// that the gate lets them through.
inline constexpr UINT_PTR kDrivenTickId = 0x4C55;
// Posted to the program after what the driver has posted: the gate answers
// the asking thread (wParam) with WM_APP once the program takes it from its
// queue, that is once it has handled everything posted before it.
inline constexpr wchar_t kTickGateMarker[] = L"LumeyraTickGateMarker";
