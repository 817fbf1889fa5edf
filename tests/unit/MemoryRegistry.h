#pragma once

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/Registry.h"

// A registry held in memory, for exercising the settings store's steps. It
// keeps each value's type and bytes as the real registry would, can refuse
// chosen keys, and logs which keys were opened so that tests can tell whether
// a key was touched at all.
class MemoryRegistry : public reg::Registry {
public:
    enum Type { kDword = 4, kString = 1, kBinary = 3 };
    struct Value {
        Type type;
        std::vector<uint8_t> data;
    };
    using KeyId = std::pair<reg::Root, std::string>;
    using Values = std::map<std::string, Value>;

    std::map<KeyId, Values> keys;
    std::set<std::tuple<reg::Root, std::string, reg::Access>> refused;
    std::vector<std::string> opened;  // "R path" / "W path" / "C path", in order

    Values* Find(reg::Root root, const std::string& path) {
        auto it = keys.find({root, path});
        return it == keys.end() ? nullptr : &it->second;
    }
    void Refuse(reg::Root root, const std::string& path, reg::Access access) {
        refused.insert({root, path, access});
    }
    void Put(reg::Root root, const std::string& path, const std::string& name, Type type,
             std::vector<uint8_t> data) {
        keys[{root, path}][name] = {type, std::move(data)};
    }

    std::unique_ptr<reg::Key> Open(reg::Root root, const char* path, reg::Access access) override {
        opened.push_back((access == reg::Access::Read ? "R " : "W ") + std::string(path));
        if (refused.count({root, path, access})) return nullptr;
        Values* values = Find(root, path);
        return values ? std::make_unique<MemoryKey>(*values) : nullptr;
    }
    std::unique_ptr<reg::Key> Create(reg::Root root, const char* path) override {
        opened.push_back("C " + std::string(path));
        if (refused.count({root, path, reg::Access::Write})) return nullptr;
        return std::make_unique<MemoryKey>(keys[{root, path}]);
    }

private:
    class MemoryKey : public reg::Key {
    public:
        explicit MemoryKey(Values& values) : m_values(values) {}
        bool Query(const char* name, uint8_t* data, uint32_t size) override {
            auto it = m_values.find(name);
            if (it == m_values.end() || it->second.data.size() > size) return false;
            std::copy(it->second.data.begin(), it->second.data.end(), data);
            return true;
        }
        bool QueryDword(const char* name, uint32_t& value) override {
            auto it = m_values.find(name);
            if (it == m_values.end() || it->second.type != kDword || it->second.data.size() != sizeof value)
                return false;
            std::copy(it->second.data.begin(), it->second.data.end(), reinterpret_cast<uint8_t*>(&value));
            return true;
        }
        bool Exists(const char* name) override { return m_values.count(name) != 0; }
        bool SetDword(const char* name, const std::array<uint8_t, 4>& bytes) override {
            m_values[name] = {kDword, {bytes.begin(), bytes.end()}};
            return true;
        }
        bool SetString(const char* name, const std::string& text) override {
            std::vector<uint8_t> data(text.begin(), text.end());
            data.push_back(0);
            m_values[name] = {kString, data};
            return true;
        }
        bool Delete(const char* name) override { return m_values.erase(name) != 0; }

    private:
        Values& m_values;
    };
};
