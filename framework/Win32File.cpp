#include "framework/Win32File.h"

#include "framework/Text.h"

CWin32File::CWin32File(const std::string& path, Access access) : m_strPath(path) {
    DWORD rights = access == kRead ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    HANDLE h =
        CreateFile(Widen(path).c_str(), rights, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) Fail();
    m_file.Reset(h);
}

CFileError::Cause CWin32File::CauseOf(DWORD systemError) {
    switch (systemError) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return CFileError::kNotFound;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return CFileError::kAccessDenied;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return CFileError::kSharingViolation;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return CFileError::kDiskFull;
        default:
            return CFileError::kGeneric;
    }
}

void CWin32File::Fail() const { throw CFileError(CauseOf(GetLastError()), m_strPath); }

size_t CWin32File::Read(void* buffer, size_t count) {
    DWORD read = 0;
    if (!ReadFile(m_file.Get(), buffer, static_cast<DWORD>(count), &read, nullptr)) Fail();
    return read;
}

void CWin32File::Write(const void* data, size_t count) {
    DWORD written = 0;
    if (!WriteFile(m_file.Get(), data, static_cast<DWORD>(count), &written, nullptr)) Fail();
    if (written != count) throw CFileError(CFileError::kDiskFull, m_strPath);
}

void CWin32File::Flush() {
    if (!FlushFileBuffers(m_file.Get())) Fail();
}

int64_t CWin32File::Seek(int64_t offset, DWORD from) const {
    LARGE_INTEGER distance{}, position{};
    distance.QuadPart = offset;
    if (!SetFilePointerEx(m_file.Get(), distance, &position, from)) Fail();
    return position.QuadPart;
}

uint64_t CWin32File::Remaining() const {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(m_file.Get(), &size)) Fail();
    const int64_t position = Seek(0, FILE_CURRENT);
    return size.QuadPart > position ? static_cast<uint64_t>(size.QuadPart - position) : 0;
}

void CWin32File::Extend(uint64_t count) {
    const uint64_t remaining = Remaining();
    if (count <= remaining) return;
    // Zeros written, not SetEndOfFile: a file system with sparse files
    // would grow the size without taking the space, and the full disk would
    // then only show while the record overwrites the old one.
    const int64_t position = Seek(0, FILE_CURRENT);
    Seek(0, FILE_END);
    const std::string zeros(static_cast<size_t>(count - remaining), '\0');
    Write(zeros.data(), zeros.size());
    Flush();
    Seek(position, FILE_BEGIN);
}
