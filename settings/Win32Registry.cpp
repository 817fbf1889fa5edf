#include "settings/Win32Registry.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "framework/Handles.h"
#include "framework/Text.h"

namespace {

HKEY RootKey(reg::Root root) {
    return root == reg::Root::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// The machine's keys in the 64-bit view, where the setup, Group Policy and
// an administrator's reg.exe write them, whatever this build's bitness.
REGSAM View(reg::Root root) { return root == reg::Root::LocalMachine ? KEY_WOW64_64KEY : 0; }

class Win32Key : public reg::Key {
public:
    explicit Win32Key(HKEY key) : m_key(key) {}

    bool Query(const char* name, uint8_t* data, uint32_t size) override {
        // The system leaves the buffer undefined when the data does not fit;
        // read into a scratch copy so the caller's buffer stays as it was.
        // A string holds UTF-16, twice the bytes of its narrow text.
        std::vector<uint8_t> scratch(size * 2 + 2);
        DWORD length = static_cast<DWORD>(scratch.size());
        DWORD type = REG_NONE;
        if (RegQueryValueEx(m_key.Get(), Widen(name).c_str(), nullptr, &type, scratch.data(), &length) !=
            ERROR_SUCCESS)
            return false;
        if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
            // Another program's text value: its characters, as the narrow
            // text it would read back, terminating NULs included.
            std::wstring wide(length / sizeof(wchar_t), L'\0');
            std::copy_n(scratch.begin(), wide.size() * sizeof(wchar_t),
                        reinterpret_cast<uint8_t*>(wide.data()));
            const std::string text = Narrow(wide);
            scratch.assign(text.begin(), text.end());
            length = static_cast<DWORD>(scratch.size());
        }
        if (length > size) return false;
        std::copy(scratch.begin(), scratch.begin() + length, data);
        return true;
    }
    bool QueryDword(const char* name, uint32_t& value) override {
        DWORD type = REG_NONE, number = 0, length = sizeof number;
        if (RegQueryValueEx(m_key.Get(), Widen(name).c_str(), nullptr, &type,
                            reinterpret_cast<BYTE*>(&number), &length) != ERROR_SUCCESS ||
            type != REG_DWORD || length != sizeof number)
            return false;
        value = number;
        return true;
    }
    bool Exists(const char* name) override {
        return RegQueryValueEx(m_key.Get(), Widen(name).c_str(), nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
    }
    bool SetDword(const char* name, const std::array<uint8_t, 4>& bytes) override {
        return RegSetValueEx(m_key.Get(), Widen(name).c_str(), 0, REG_DWORD, bytes.data(), bytes.size()) ==
               ERROR_SUCCESS;
    }
    bool SetString(const char* name, const std::string& text) override {
        // The terminating NUL is part of a string value's data.
        const std::wstring wide = Widen(text);
        return RegSetValueEx(m_key.Get(), Widen(name).c_str(), 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(wide.c_str()),
                             static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    bool Delete(const char* name) override {
        return RegDeleteValue(m_key.Get(), Widen(name).c_str()) == ERROR_SUCCESS;
    }

private:
    KeyHandle m_key;
};

}  // namespace

std::unique_ptr<reg::Key> CWin32Registry::Open(reg::Root root, const char* path, reg::Access access) {
    HKEY key = nullptr;
    REGSAM sam = (access == reg::Access::Read ? KEY_QUERY_VALUE : KEY_WRITE) | View(root);
    if (RegOpenKeyEx(RootKey(root), Widen(path).c_str(), 0, sam, &key) != ERROR_SUCCESS) return nullptr;
    return std::make_unique<Win32Key>(key);
}

std::unique_ptr<reg::Key> CWin32Registry::Create(reg::Root root, const char* path) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyEx(RootKey(root), Widen(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                       KEY_WRITE | View(root), nullptr, &key, &disposition) != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<Win32Key>(key);
}
