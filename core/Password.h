#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/Archive.h"

// The one password of the computer, as "Pass.bin" holds it: scrambled on
// disk, plain in memory. An empty password means that none is set.
class CPassword : public CObject {
public:
    static const CRuntimeClass classCPassword;

    const CRuntimeClass* GetRuntimeClass() const override { return &classCPassword; }
    void Serialize(CArchive& ar) override;

    // Byte string in code page 1251, whatever the system's own; may hold
    // any byte value.
    std::string m_strPassword;
    // The length of the password when it was stored.
    int32_t m_nLength = 0;

    // What the dialogs decide from a record. The comparisons treat the
    // password as a zero-terminated string, so a stored NUL ends it.
    bool IsSet() const { return m_strPassword.c_str()[0] != '\0'; }
    bool IsDamaged() const { return static_cast<int64_t>(m_strPassword.size()) != m_nLength; }
    bool Matches(const std::string& candidate) const;
};

// The scrambled form: before every even-numbered byte a filler (0 to 199,
// from `filler`), and byte j shifted up by j + 1.
std::string ScramblePassword(const std::string& plain, int (*filler)());
// The inverse: drops every third byte (the fillers) and undoes the shifts.
std::string UnscramblePassword(const std::string& scrambled);

// The whole record of `text` written to the file as it stands, with no
// truncation: a longer old record leaves its tail behind the new one.
void StorePassword(CFile& file, const std::string& text);
// Reads the one record at the start of the file; throws CFileError.
std::unique_ptr<CPassword> LoadPassword(CFile& file);
