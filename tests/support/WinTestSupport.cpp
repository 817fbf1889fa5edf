#include "tests/support/WinTestSupport.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "core/NumberCodec.h"
#include "core/SettingsStore.h"
#include "framework/Text.h"

namespace testsupport {

bool WaitFor(const std::function<bool()>& ready, std::chrono::milliseconds timeout,
             std::chrono::milliseconds poll) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!ready()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(poll);
    }
    return true;
}

void PressKey(WORD vk) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = vk;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

namespace {

struct Search {
    const std::function<bool(HWND)>& match;
    bool visibleOnly;
    HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    if ((search->visibleOnly && !IsWindowVisible(hwnd)) || !search->match(hwnd)) return TRUE;
    search->found = hwnd;
    return FALSE;
}

}  // namespace

HWND FindTopWindow(const std::function<bool(HWND)>& match, bool visibleOnly) {
    Search search{match, visibleOnly};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindChildWindow(HWND parent, const std::function<bool(HWND)>& match) {
    Search search{match, false};
    EnumChildWindows(parent, Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

namespace {

// The pixels of a top-down 32-bit DIB section, the unused top byte cleared.
Image ImageFromDib(const void* bits, int width, int height) {
    Image image;
    image.width = width;
    image.height = height;
    const auto* src = static_cast<const uint32_t*>(bits);
    image.pixels.assign(src, src + static_cast<size_t>(width) * height);
    for (auto& p : image.pixels) p &= 0xFFFFFF;
    return image;
}

}  // namespace

std::wstring TextOf(HWND hwnd) {
    wchar_t text[1024] = {};
    GetWindowTextW(hwnd, text, 1024);
    return text;
}

int Image::Count(COLORREF colour) const {
    const uint32_t rgb = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    int n = 0;
    for (uint32_t p : pixels) n += p == rgb;
    return n;
}

Canvas::Canvas(int width, int height) : m_width(width), m_height(height), m_dc(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
    if (m_bitmap) m_previous = SelectObject(m_dc, m_bitmap);
}

Canvas::~Canvas() {
    if (m_previous) SelectObject(m_dc, m_previous);
    if (m_bitmap) DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

Image Canvas::Pixels() const {
    if (!m_bits) return {};
    GdiFlush();
    return ImageFromDib(m_bits, m_width, m_height);
}

Image Capture(HWND window, const RECT& area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    Canvas canvas(width, height);
    HDC source = GetDC(window);
    if (canvas.Dc()) BitBlt(canvas.Dc(), 0, 0, width, height, source, area.left, area.top, SRCCOPY);
    ReleaseDC(window, source);
    return canvas.Pixels();
}

void ForgetSettings() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kProductKey);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kPolicyKey);
    HKEY run = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
        RegDeleteValueA(run, kRunValue);
        RegCloseKey(run);
    }
}

bool WriteSetting(const char* name, DWORD type, const std::vector<uint8_t>& data) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kProductKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    RegSetValueExA(key, name, 0, type, data.data(), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
    return true;
}

bool WritePolicy(const char* name, DWORD type, const std::vector<uint8_t>& data) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kPolicyKey, 0, nullptr, 0, KEY_WRITE | KEY_WOW64_64KEY, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    const bool written =
        RegSetValueExA(key, name, 0, type, data.data(), static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}

bool WritePolicy(const char* name, DWORD value) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&value);
    return WritePolicy(name, REG_DWORD, {bytes, bytes + sizeof value});
}

void RemovePolicy(const char* name) { RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kPolicyKey, name); }

bool StoreSetting(const char* name, int32_t value) {
    const auto bytes = numbercodec::Encode(value);
    return WriteSetting(name, REG_DWORD, {bytes.begin(), bytes.end()});
}

RawValue ReadRaw(HKEY root, const char* path, const char* name) {
    RawValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return value;
    DWORD size = 0;
    value.status = RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size);
    if (value.status == ERROR_SUCCESS) {
        value.data.resize(size);
        value.status = RegQueryValueExA(key, name, nullptr, &value.type, value.data.data(), &size);
        value.data.resize(value.status == ERROR_SUCCESS ? size : 0);
    }
    RegCloseKey(key);
    return value;
}

std::wstring ReadString(HKEY root, const char* path, const char* name) {
    wchar_t text[2048] = {};
    DWORD size = sizeof text - sizeof(wchar_t);  // room for the NUL a value may lack
    if (RegGetValueW(root, Widen(path).c_str(), Widen(name).c_str(), RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS)
        return {};
    return text;
}

const std::string kEmptyPasswordRecord{
    "\xFF\xFF\x01\x00\x09\x00"
    "CPassword"
    "\x00\x00\x00\x00\x00",
    20};

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(std::filesystem::path(Widen(path)), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(std::filesystem::path(Widen(path)), std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace testsupport
