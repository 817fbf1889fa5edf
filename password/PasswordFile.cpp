#include "password/PasswordFile.h"

#include <windows.h>

#include "framework/Text.h"
#include "framework/Win32File.h"

namespace {
constexpr char kPasswordFile[] = "Pass.bin";
constexpr UINT kPasswordCodePage = 1251;
}  // namespace

std::unique_ptr<CPassword> ReadPasswordFile(const std::string& folder) {
    CWin32File file(folder + kPasswordFile, CWin32File::kRead);
    return LoadPassword(file);
}

void WritePasswordFile(const std::string& folder, const std::string& recordText) {
    CWin32File file(folder + kPasswordFile, CWin32File::kReadWrite);
    StorePassword(file, recordText);
}

std::optional<std::string> RecordText(const std::string& typed) { return ToCodePage(typed, kPasswordCodePage); }
