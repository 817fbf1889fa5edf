#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

// A failure of a file, or of the archive read from or written to it, with
// the text the user is shown.
class CFileError : public std::runtime_error {
public:
    enum Cause {
        // Opening, reading or writing the file.
        kNotFound,
        kAccessDenied,
        kSharingViolation,
        kDiskFull,
        kGeneric,
        // The archive's contents.
        kEndOfFile,
        kBadFormat,
        kUnexpectedObject,
        kBadSchema,
    };

    // `fileName` is the full path; empty for "an unnamed file".
    CFileError(Cause cause, const std::string& fileName);
    Cause GetCause() const { return m_cause; }

    static std::string Text(Cause cause, const std::string& fileName);

private:
    Cause m_cause;
};

// A file of bytes with a position, as the archive uses it. Writing
// overwrites in place and never truncates.
class CFile {
public:
    virtual ~CFile() = default;
    // Reads up to `count` bytes; fewer only at the end of the file.
    virtual size_t Read(void* buffer, size_t count) = 0;
    virtual void Write(const void* data, size_t count) = 0;
    virtual void Flush() = 0;
    // The bytes between the position and the end of the file.
    virtual uint64_t Remaining() const = 0;
    // Makes room for `count` bytes from the position on, growing the file
    // with zero bytes past its end, and commits that to the disk; the
    // position stays. A full disk fails here, before anything is
    // overwritten.
    virtual void Extend(uint64_t count) = 0;
    virtual const std::string& Path() const = 0;
};

// A file held in memory: the tests' and the fuzzer's stand-in for the disk.
class CMemoryFile : public CFile {
public:
    explicit CMemoryFile(std::string bytes = {}, std::string path = "Pass.bin")
        : m_bytes(std::move(bytes)), m_path(std::move(path)) {}

    size_t Read(void* buffer, size_t count) override;
    void Write(const void* data, size_t count) override;
    void Flush() override { ++m_nFlushes; }
    uint64_t Remaining() const override { return m_bytes.size() - m_pos; }
    void Extend(uint64_t count) override;
    const std::string& Path() const override { return m_path; }

    const std::string& Bytes() const { return m_bytes; }
    int Writes() const { return m_nWrites; }
    int Flushes() const { return m_nFlushes; }
    // A full disk: the file can't grow past `bytes`; a write that would
    // writes what fits and fails, as the system's does.
    void SetCapacity(size_t bytes) { m_nCapacity = bytes; }

private:
    std::string m_bytes;
    std::string m_path;
    size_t m_nCapacity = static_cast<size_t>(-1);
    size_t m_pos = 0;
    int m_nWrites = 0;
    int m_nFlushes = 0;
};
