#pragma once

#include <windows.h>

#include <string>

#include "framework/File.h"
#include "framework/Handles.h"

// A file on disk, opened only if it exists and with no sharing: nobody else
// can open it while we hold it. It is never created and never truncated.
// Failures raise CFileError with the cause the system gave.
class CWin32File : public CFile {
public:
    enum Access { kRead, kReadWrite };

    CWin32File(const std::string& path, Access access);

    size_t Read(void* buffer, size_t count) override;
    void Write(const void* data, size_t count) override;
    void Flush() override;
    uint64_t Remaining() const override;
    void Extend(uint64_t count) override;
    const std::string& Path() const override { return m_strPath; }

    static CFileError::Cause CauseOf(DWORD systemError);

private:
    [[noreturn]] void Fail() const;
    int64_t Seek(int64_t offset, DWORD from) const;

    std::string m_strPath;
    FileHandle m_file;
};
