#include "framework/File.h"

#include <algorithm>
#include <cstring>

namespace {

const char* Pattern(CFileError::Cause cause) {
    switch (cause) {
        case CFileError::kNotFound:
            return "%1 was not found.";
        case CFileError::kAccessDenied:
            return "Access to %1 was denied.";
        case CFileError::kSharingViolation:
            return "A sharing violation occurred while accessing %1.";
        case CFileError::kDiskFull:
            return "Disk full while accessing %1.";
        case CFileError::kGeneric:
            return "An unexpected error occurred while accessing %1.";
        case CFileError::kEndOfFile:
            return "An attempt was made to access %1 past its end.";
        case CFileError::kBadFormat:
            return "%1 has a bad format.";
        case CFileError::kUnexpectedObject:
            return "%1 contained an unexpected object.";
        case CFileError::kBadSchema:
            return "%1 contains an incorrect schema.";
    }
    return "An unexpected error occurred while accessing %1.";
}

}  // namespace

std::string CFileError::Text(Cause cause, const std::string& fileName) {
    std::string text = Pattern(cause);
    text.replace(text.find("%1"), 2, fileName.empty() ? "an unnamed file" : fileName);
    return text;
}

CFileError::CFileError(Cause cause, const std::string& fileName)
    : std::runtime_error(Text(cause, fileName)), m_cause(cause) {}

size_t CMemoryFile::Read(void* buffer, size_t count) {
    size_t n = std::min(count, m_bytes.size() - m_pos);
    std::memcpy(buffer, m_bytes.data() + m_pos, n);
    m_pos += n;
    return n;
}

void CMemoryFile::Write(const void* data, size_t count) {
    ++m_nWrites;
    const char* bytes = static_cast<const char*>(data);
    const size_t room = m_nCapacity > m_pos ? m_nCapacity - m_pos : 0;
    if (count > room) {
        Write(data, room);
        throw CFileError(CFileError::kDiskFull, m_path);
    }
    size_t inPlace = std::min(count, m_bytes.size() - m_pos);
    m_bytes.replace(m_pos, inPlace, bytes, inPlace);
    m_bytes.append(bytes + inPlace, count - inPlace);
    m_pos += count;
}

void CMemoryFile::Extend(uint64_t count) {
    if (count <= Remaining()) return;
    const size_t end = m_pos + static_cast<size_t>(count);
    if (end > m_nCapacity) throw CFileError(CFileError::kDiskFull, m_path);
    m_bytes.resize(end, '\0');
}
