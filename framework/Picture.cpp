#include "framework/Picture.h"

#include <cstdint>

GdiHandle FitPicture(HBITMAP picture, SIZE frame) {
    BITMAP source{};
    if (!picture || !GetObjectW(picture, sizeof source, &source) || frame.cx <= 0 || frame.cy <= 0)
        return GdiHandle();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = frame.cx;
    info.bmiHeader.biHeight = frame.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    WindowDc screen(nullptr);
    void* bits = nullptr;
    GdiHandle fitted(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDcHandle from(CreateCompatibleDC(screen.Get()));
    MemoryDcHandle to(CreateCompatibleDC(screen.Get()));
    if (!fitted || !from || !to) return GdiHandle();
    {
        Selection fromPicture(from.Get(), picture);
        Selection toFitted(to.Get(), fitted.Get());
        // The part of the picture that, scaled, covers the frame: all of
        // its width where the frame is the wider in proportion, else all of
        // its height; the rest, on the right or at the bottom, is cut off.
        SIZE used{source.bmWidth, source.bmHeight};
        if (int64_t{frame.cx} * source.bmHeight >= int64_t{frame.cy} * source.bmWidth)
            used.cy = MulDiv(frame.cy, source.bmWidth, frame.cx);
        else
            used.cx = MulDiv(frame.cx, source.bmHeight, frame.cy);
        // A picture that covers its frame at its own size and would shrink
        // by a hair (up to a sixteenth) to fit it is cut instead: a frame in
        // dialog units rarely matches a picture to the pixel, and a picture
        // shrunk by one pixel in sixty is a blurred one.
        const bool covers = source.bmWidth >= frame.cx && source.bmHeight >= frame.cy;
        if (covers && (16 * frame.cx >= 15 * source.bmWidth || 16 * frame.cy >= 15 * source.bmHeight))
            used = frame;
        if (used.cx == frame.cx && used.cy == frame.cy) {
            BitBlt(to.Get(), 0, 0, frame.cx, frame.cy, from.Get(), 0, 0, SRCCOPY);
        } else {
            SetStretchBltMode(to.Get(), HALFTONE);
            // HALFTONE wants the brush origin set after the mode.
            SetBrushOrgEx(to.Get(), 0, 0, nullptr);
            StretchBlt(to.Get(), 0, 0, frame.cx, frame.cy, from.Get(), 0, 0, used.cx, used.cy, SRCCOPY);
        }
    }
    GdiFlush();
    return fitted;
}

SIZE FrameOf(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    return {client.right - client.left, client.bottom - client.top};
}

void ShowPicture(HWND control, GdiHandle& shown, GdiHandle picture) {
    const auto previous = reinterpret_cast<HGDIOBJ>(
        SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.Get())));
    if (previous && previous != shown.Get() && previous != picture.Get()) {
        GdiHandle dropped(previous);
    }
    shown = std::move(picture);
}

void ShowFittedPicture(HWND control, GdiHandle& shown, HINSTANCE module, UINT id) {
    GdiHandle picture(LoadBitmapW(module, MAKEINTRESOURCEW(id)));
    ShowPicture(control, shown, FitPicture(static_cast<HBITMAP>(picture.Get()), FrameOf(control)));
}
