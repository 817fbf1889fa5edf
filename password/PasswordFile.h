#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/Password.h"

// "Pass.bin", the one password record of the computer, in `folder` (ending
// with its separator): the executable's own, where the setup puts it.

// Reads the record afresh; nothing is cached. Raises CFileError.
std::unique_ptr<CPassword> ReadPasswordFile(const std::string& folder);
// Stores `recordText` (see RecordText) as the password; empty removes it.
// Raises CFileError.
void WritePasswordFile(const std::string& folder, const std::string& recordText);
// A typed password as the record holds it: in code page 1251, one byte a
// character, whatever the system's own code page, so that "Pass.bin" means
// the same on every Windows. Nothing when a character is missing from that
// code page: such a password can neither be stored nor match.
std::optional<std::string> RecordText(const std::string& typed);
