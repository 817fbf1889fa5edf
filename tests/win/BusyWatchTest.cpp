// What the program observes of the user, with the shell's answer stood in
// for: Wine's shell always says it accepts notifications.
#include <gtest/gtest.h>

#include "app/BusyWatch.h"

namespace {

HRESULT WINAPI Presenting(QUERY_USER_NOTIFICATION_STATE* state) {
    *state = QUNS_PRESENTATION_MODE;
    return S_OK;
}

HRESULT WINAPI Failing(QUERY_USER_NOTIFICATION_STATE* state) {
    *state = QUNS_BUSY;  // whatever a failed call leaves, it says nothing
    return E_FAIL;
}

TEST(BusyWatch, TakesTheShellsAnswerAndKnowsItsOwnWindowOverTheScreen) {
    EXPECT_TRUE(UserIsBusy(ObserveUser(nullptr, &Presenting)));

    // Our own window over the whole screen, in front.
    HWND own = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                               GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(own);
    ShowWindow(own, SW_SHOW);
    SetForegroundWindow(own);
    ASSERT_EQ(GetForegroundWindow(), own);
    const BusyObservation seen = ObserveUser(nullptr, &Failing);
    EXPECT_FALSE(seen.shellAnswered);
    EXPECT_EQ(seen.foreground, ForegroundKind::kOwn);
    EXPECT_EQ(seen.window.right - seen.window.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(seen.monitor.bottom - seen.monitor.top, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_FALSE(UserIsBusy(seen));
    EXPECT_TRUE(UserIsBusy(ObserveUser(nullptr, &Presenting)));

    // A small dialog it owns in front: what is judged is still the owner,
    // over the whole screen.
    HWND dialog = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_CAPTION, 100, 100, 300, 200, own, nullptr,
                                  nullptr, nullptr);
    ASSERT_TRUE(dialog);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    ASSERT_EQ(GetForegroundWindow(), dialog);
    const BusyObservation owned = ObserveUser(nullptr, &Failing);
    EXPECT_EQ(owned.window.right - owned.window.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(owned.window.left, 0);
    DestroyWindow(dialog);

    DestroyWindow(own);
}

}  // namespace
