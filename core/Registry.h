#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

// The little of the registry that the settings store needs, so that the
// store's order of steps can run against an in-memory registry in tests and
// against the real one in the program.
namespace reg {

enum class Root { CurrentUser, LocalMachine };
enum class Access { Read, Write };

// An open key; destroying it closes it.
class Key {
public:
    virtual ~Key() = default;
    // Copies the value's data into `data` when it fits in `size` bytes.
    // A missing value, or one larger than `size`, leaves `data` untouched.
    virtual bool Query(const char* name, uint8_t* data, uint32_t size) = 0;
    // A REG_DWORD of four bytes as the number it holds in machine byte
    // order; false for a missing value or one of any other type or size.
    virtual bool QueryDword(const char* name, uint32_t& value) = 0;
    // Whether the value exists, asking for neither its type nor its data.
    virtual bool Exists(const char* name) = 0;
    // REG_DWORD whose four bytes are given as they are to be stored.
    virtual bool SetDword(const char* name, const std::array<uint8_t, 4>& bytes) = 0;
    // REG_SZ, stored with its terminating zero.
    virtual bool SetString(const char* name, const std::string& text) = 0;
    virtual bool Delete(const char* name) = 0;
};

class Registry {
public:
    virtual ~Registry() = default;
    // Null when the key does not exist or the access is refused.
    virtual std::unique_ptr<Key> Open(Root root, const char* path, Access access) = 0;
    // Creates the key if needed and opens it for writing; null on failure.
    virtual std::unique_ptr<Key> Create(Root root, const char* path) = 0;
};

}  // namespace reg
