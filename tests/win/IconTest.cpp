// The icons and the cursor at the screen's scale: each resource holds an
// image drawn for every size Windows asks for from 100 to 200 %, and the
// notification area gets the small icon of the present scale. Runs with the
// dialogs, at each scale the Wine stages give them.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>

#include "app/LumeyraApp.h"
#include "app/NotifyIcon.h"
#include "framework/App.h"
#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "res/resource.h"

namespace {

// The sizes of the images in an icon or cursor group resource: icon entries
// give a byte each for width and height, cursor entries a word each (the
// height doubled, for the mask).
std::set<int> ImageSizes(UINT id, LPCWSTR type) {
    std::set<int> sizes;
    HRSRC found = FindResourceW(AppInstance(), MAKEINTRESOURCEW(id), type);
    const auto* group = static_cast<const BYTE*>(LockResource(LoadResource(AppInstance(), found)));
    if (!group) return sizes;
    const WORD count = *reinterpret_cast<const WORD*>(group + 4);
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = group + 6 + 14 * i;
        sizes.insert(type == RT_GROUP_ICON ? entry[0] : *reinterpret_cast<const WORD*>(entry));
    }
    return sizes;
}

TEST(Icons, EachHoldsAnImageForEveryScale) {
    const std::set<int> iconSizes{16, 20, 24, 32, 40, 48};
    for (UINT id : {IDR_MAINFRAME, IDI_TIMER_STOPPED, IDI_EXIT_QUESTION}) {
        EXPECT_EQ(ImageSizes(id, RT_GROUP_ICON), iconSizes) << "icon " << id;
    }
    EXPECT_EQ(ImageSizes(IDC_LINK_HAND, RT_GROUP_CURSOR), (std::set<int>{32, 48, 64}));
}

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return 0;
    GdiHandle colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    return bitmap.bmWidth;
}

// Whatever its state, the icon goes to the notification area at the size of
// the small icons at the system's scale, as the area shows it: not the
// large one, which the shell would squeeze.
TEST(Icons, TheNotificationAreaGetsTheSmallIconOfThePresentScale) {
    App().Init(GetModuleHandleW(nullptr));
    HWND window =
        CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    const UINT dpi = WindowDpi(nullptr);
    const int small = MetricForDpi(SM_CXSMICON, dpi);
    EXPECT_EQ(small, MulDiv(16, static_cast<int>(dpi), 96)) << "at " << dpi << " dpi";
    CNotifyIcon icon;
    const NotifyIconLook running{false, "Lumeyra"};
    icon.Create(window, running);
    // The virtual desktop's taskbar may still be starting: the icon is tried
    // again, as on the program's ticks.
    for (int i = 0; i < 100 && !icon.ShownIcon(); ++i) {
        Sleep(50);
        icon.Retry(running);
    }
    ASSERT_TRUE(icon.ShownIcon()) << "no icon, or the notification area refused it";
    EXPECT_EQ(IconWidth(icon.ShownIcon()), small) << "running, at " << dpi << " dpi";
    icon.Update({true, "Lumeyra"});
    EXPECT_EQ(IconWidth(icon.ShownIcon()), small) << "stopped, at " << dpi << " dpi";
    icon.Remove();
    DestroyWindow(window);
}

}  // namespace
