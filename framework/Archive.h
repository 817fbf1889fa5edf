#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "framework/File.h"

class CArchive;
class CObject;

// What the archive needs to know about a serialisable class: the name and
// schema it writes in front of each object, and how to make an empty one
// when it reads that name back.
struct CRuntimeClass {
    const char* m_lpszClassName;
    uint16_t m_wSchema;
    std::unique_ptr<CObject> (*m_pfnCreateObject)();
};

// A record that the archive can store and load.
class CObject {
public:
    virtual const CRuntimeClass* GetRuntimeClass() const = 0;
    virtual ~CObject() = default;
    // Stores or loads the object's body, in the archive's direction.
    virtual void Serialize(CArchive& ar) = 0;
};

// An object archive on a file, in the layout the records have always had:
// a class header (new-class tag FFFF, schema, name length, name), then the
// body; integers little-endian; strings with a 1-, 3- or 7-byte length
// prefix. The file is a Windows text-mode file: every 0A of the record is
// 0D 0A on disk, and 0D 0A reads back as 0A. Unlike the C runtime's text
// mode, 1A is an ordinary byte, so that any record written can be read.
class CArchive {
public:
    enum Mode { kStore, kLoad };

    CArchive(CFile& file, Mode mode) : m_file(file), m_mode(mode) {}
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return m_mode == kStore; }

    void WriteObject(CObject& object);
    // Reads one object of the class `expected`; whatever follows it in the
    // file is left unread.
    std::unique_ptr<CObject> ReadObject(const CRuntimeClass& expected);

    CArchive& operator<<(const std::string& text);
    CArchive& operator<<(int32_t value);
    CArchive& operator>>(std::string& text);
    CArchive& operator>>(int32_t& value);

    // Storing: hands the whole record to the file in one write, then
    // flushes, so that an interruption can't leave half a record on disk.
    void Close();

private:
    void PutByte(uint8_t byte);
    void PutUnsigned(uint32_t value, int bytes);
    uint8_t GetByte();
    uint32_t GetUnsigned(int bytes);
    bool FillBuffer();
    // Raw bytes left, in the buffer and in the file: an upper bound of what
    // can still be read.
    uint64_t RawLeft() const { return (m_nInEnd - m_nInPos) + m_file.Remaining(); }
    [[noreturn]] void Fail(CFileError::Cause cause) const;

    CFile& m_file;
    Mode m_mode;
    std::string m_strOut;
    std::array<uint8_t, 4096> m_in{};
    size_t m_nInPos = 0;
    size_t m_nInEnd = 0;
};
