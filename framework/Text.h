#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// The one place where text changes form. Inside, the program keeps its text
// as UTF-8; Windows takes and gives UTF-16 through its "W" functions, which
// are right whatever the system's ANSI code page is.

// UTF-8 to UTF-16 for a Windows call. Bytes that are not UTF-8 become
// U+FFFD rather than being dropped.
std::wstring Widen(std::string_view utf8);
// UTF-16 from a Windows call back to UTF-8.
std::string Narrow(std::wstring_view wide);
// UTF-8 to the single-byte code page `codePage`, one byte per character and
// no look-alike stand-ins (no "e" for "ё"); nothing when a character is
// missing from that code page.
std::optional<std::string> ToCodePage(std::string_view utf8, UINT codePage);
