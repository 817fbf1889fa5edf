#include "framework/Archive.h"

#include <cstring>

namespace {

constexpr uint16_t kNewClassTag = 0xFFFF;
// Longer class names are no class of ours: the reader refuses them before
// reading the name.
constexpr uint16_t kMaxClassName = 64;
constexpr uint8_t kCr = 0x0D, kLf = 0x0A;

}  // namespace

void CArchive::Fail(CFileError::Cause cause) const {
    // Running out of data is reported without the file's name, as it always
    // has been.
    throw CFileError(cause, cause == CFileError::kEndOfFile ? std::string() : m_file.Path());
}

void CArchive::PutByte(uint8_t byte) {
    if (byte == kLf) m_strOut.push_back(static_cast<char>(kCr));
    m_strOut.push_back(static_cast<char>(byte));
}

void CArchive::PutUnsigned(uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) PutByte(static_cast<uint8_t>(value >> (8 * i)));
}

bool CArchive::FillBuffer() {
    m_nInPos = 0;
    m_nInEnd = m_file.Read(m_in.data(), m_in.size());
    return m_nInEnd > 0;
}

uint8_t CArchive::GetByte() {
    if (m_nInPos == m_nInEnd && !FillBuffer()) Fail(CFileError::kEndOfFile);
    uint8_t byte = m_in[m_nInPos++];
    if (byte != kCr) return byte;
    // A CR stands for itself unless an LF follows it.
    if (m_nInPos == m_nInEnd && !FillBuffer()) return byte;
    if (m_in[m_nInPos] != kLf) return byte;
    ++m_nInPos;
    return kLf;
}

uint32_t CArchive::GetUnsigned(int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= static_cast<uint32_t>(GetByte()) << (8 * i);
    return value;
}

void CArchive::WriteObject(CObject& object) {
    const CRuntimeClass& rc = *object.GetRuntimeClass();
    uint16_t nameLength = static_cast<uint16_t>(std::strlen(rc.m_lpszClassName));
    PutUnsigned(kNewClassTag, 2);
    PutUnsigned(rc.m_wSchema, 2);
    PutUnsigned(nameLength, 2);
    for (uint16_t i = 0; i < nameLength; ++i) PutByte(static_cast<uint8_t>(rc.m_lpszClassName[i]));
    object.Serialize(*this);
}

std::unique_ptr<CObject> CArchive::ReadObject(const CRuntimeClass& expected) {
    // The null-object tag 0 names no record at all, which no caller can use:
    // it is as bad a format as any other tag.
    if (GetUnsigned(2) != kNewClassTag) Fail(CFileError::kBadFormat);
    uint32_t schema = GetUnsigned(2);
    uint32_t nameLength = GetUnsigned(2);
    if (nameLength >= kMaxClassName) Fail(CFileError::kUnexpectedObject);
    std::string name;
    for (uint32_t i = 0; i < nameLength; ++i) name.push_back(static_cast<char>(GetByte()));
    if (name != expected.m_lpszClassName) Fail(CFileError::kUnexpectedObject);
    if (schema != expected.m_wSchema) Fail(CFileError::kBadSchema);
    std::unique_ptr<CObject> object = expected.m_pfnCreateObject();
    object->Serialize(*this);
    return object;
}

CArchive& CArchive::operator<<(const std::string& text) {
    uint64_t m = text.size();
    if (m < 0xFF) {
        PutByte(static_cast<uint8_t>(m));
    } else if (m < 0xFFFE) {
        PutByte(0xFF);
        PutUnsigned(static_cast<uint32_t>(m), 2);
    } else {
        PutByte(0xFF);
        PutUnsigned(0xFFFF, 2);
        PutUnsigned(static_cast<uint32_t>(m), 4);
    }
    for (char c : text) PutByte(static_cast<uint8_t>(c));
    return *this;
}

CArchive& CArchive::operator<<(int32_t value) {
    PutUnsigned(static_cast<uint32_t>(value), 4);
    return *this;
}

CArchive& CArchive::operator>>(std::string& text) {
    uint64_t m = GetByte();
    if (m == 0xFF) {
        m = GetUnsigned(2);
        // FFFE marks a wide string, which no record of ours holds.
        if (m == 0xFFFE) Fail(CFileError::kBadFormat);
        if (m == 0xFFFF) m = GetUnsigned(4);
    }
    // A length beyond what the file still holds is a cut-off record, not a
    // reason to allocate that much.
    if (m > RawLeft()) Fail(CFileError::kEndOfFile);
    text.clear();
    text.reserve(m);
    for (uint64_t i = 0; i < m; ++i) text.push_back(static_cast<char>(GetByte()));
    return *this;
}

CArchive& CArchive::operator>>(int32_t& value) {
    value = static_cast<int32_t>(GetUnsigned(4));
    return *this;
}

void CArchive::Close() {
    if (!IsStoring()) return;
    // The record overwrites the old one in place. Were the file to grow
    // while it is written, a full disk would stop the write with the old
    // record half overwritten; so the file grows first, and a failure there
    // leaves the old record whole.
    m_file.Extend(m_strOut.size());
    m_file.Write(m_strOut.data(), m_strOut.size());
    m_file.Flush();
    m_strOut.clear();
}
