#pragma once

// What the tests that run under Wine share, whether they drive the program
// from outside (tests/e2e) or run its parts in-process (tests/win): keys,
// waiting, finding windows, pixels, the registry and the password file.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// Polls `ready` every `poll` until it holds or `timeout` passes.
bool WaitFor(const std::function<bool()>& ready, std::chrono::milliseconds timeout,
             std::chrono::milliseconds poll = std::chrono::milliseconds(50));

// Presses and releases a key through the system's input queue, where a
// low-level keyboard hook sees it.
void PressKey(WORD vk);

// The first top-level window that `match` accepts, hidden ones included
// unless `visibleOnly`; null when there is none.
HWND FindTopWindow(const std::function<bool(HWND)>& match, bool visibleOnly = true);
// The first child of `parent`, at any depth, that `match` accepts.
HWND FindChildWindow(HWND parent, const std::function<bool(HWND)>& match);
// A window's text as UTF-16, for titles in any code page.
std::wstring TextOf(HWND hwnd);

// Pixels as 0x00RRGGBB, top row first.
struct Image {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // How many pixels have this colour (a COLORREF, 0x00BBGGRR).
    int Count(COLORREF colour) const;
};

// A top-down 32-bit bitmap selected into a memory device context of its own:
// something to draw or copy into, then read back as an image.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Null when the bitmap could not be made.
    HDC Dc() const { return m_bits ? m_dc : nullptr; }
    Image Pixels() const;

private:
    int m_width, m_height;
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    void* m_bits = nullptr;
};

// What `window` shows in `area` of its device context (its client area);
// with no window, that part of the screen.
Image Capture(HWND window, const RECT& area);

// Removes what the program keeps in the registry, as on a machine where it
// never ran, and the machine's policies for it.
void ForgetSettings();
// Writes a value under the product key as it is given; false when the key
// cannot be made.
bool WriteSetting(const char* name, DWORD type, const std::vector<uint8_t>& data);
// Writes a setting as the program stores it (decimal text in a REG_DWORD).
bool StoreSetting(const char* name, int32_t value);
// Sets one of the machine's policies as an administrator would: a number
// in a REG_DWORD, or any type and bytes; false when it cannot be written.
bool WritePolicy(const char* name, DWORD value);
bool WritePolicy(const char* name, DWORD type, const std::vector<uint8_t>& data);
void RemovePolicy(const char* name);
// A value's status, type and raw bytes; no bytes unless the status is
// ERROR_SUCCESS.
struct RawValue {
    LONG status = ERROR_FILE_NOT_FOUND;
    DWORD type = 0;
    std::vector<uint8_t> data;
};
RawValue ReadRaw(HKEY root, const char* path, const char* name);
// A string value as UTF-16, whatever letters it holds; empty when it is
// missing or no string.
std::wstring ReadString(HKEY root, const char* path, const char* name);

// The record of the empty password: the "Pass.bin" that ships.
extern const std::string kEmptyPasswordRecord;
// A file's whole contents, and writing them anew; the path is UTF-8.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace testsupport
