#include "settings/Win32Registry.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "framework/Handles.h"

namespace {

HKEY RootKey(reg::Root root) {
    return root == reg::Root::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

class Win32Key : public reg::Key {
public:
    explicit Win32Key(HKEY key) : m_key(key) {}

    bool Query(const char* name, uint8_t* data, uint32_t size) override {
        // The system leaves the buffer undefined when the data does not fit;
        // read into a scratch copy so the caller's buffer stays as it was.
        std::vector<uint8_t> scratch(size);
        DWORD length = size;
        if (RegQueryValueExA(m_key.Get(), name, nullptr, nullptr, scratch.data(), &length) != ERROR_SUCCESS)
            return false;
        std::copy(scratch.begin(), scratch.begin() + length, data);
        return true;
    }
    bool Exists(const char* name) override {
        return RegQueryValueExA(m_key.Get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }
    bool SetDword(const char* name, const std::array<uint8_t, 4>& bytes) override {
        return RegSetValueExA(m_key.Get(), name, 0, REG_DWORD, bytes.data(), bytes.size()) == ERROR_SUCCESS;
    }
    bool SetString(const char* name, const std::string& text) override {
        return RegSetValueExA(m_key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
    }
    bool Delete(const char* name) override { return RegDeleteValueA(m_key.Get(), name) == ERROR_SUCCESS; }

private:
    KeyHandle m_key;
};

}  // namespace

std::unique_ptr<reg::Key> CWin32Registry::Open(reg::Root root, const char* path, reg::Access access) {
    HKEY key = nullptr;
    REGSAM sam = access == reg::Access::Read ? KEY_QUERY_VALUE : KEY_WRITE;
    if (RegOpenKeyExA(RootKey(root), path, 0, sam, &key) != ERROR_SUCCESS) return nullptr;
    return std::make_unique<Win32Key>(key);
}

std::unique_ptr<reg::Key> CWin32Registry::Create(reg::Root root, const char* path) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(RootKey(root), path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key,
                        &disposition) != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<Win32Key>(key);
}
