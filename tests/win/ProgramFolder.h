#pragma once

// A folder of the test's own in place of the program's: the application
// object is set up and looks for "Pass.bin" there, which starts out holding
// the record of the empty password.
#include <windows.h>

#include <string>

#include "app/LumeyraApp.h"
#include "tests/support/WinTestSupport.h"

class ProgramFolder {
public:
    inline static const std::string& kEmptyRecord = testsupport::kEmptyPasswordRecord;

    explicit ProgramFolder(const std::string& name) {
        App().Init(GetModuleHandleA(nullptr));
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        m_dir = std::string(temp) + name + "\\";
        CreateDirectoryA(m_dir.c_str(), nullptr);
        App().SetExeDir(m_dir);
        WriteFile(kEmptyRecord);
    }
    ~ProgramFolder() {
        DeleteFileA(File().c_str());
        // A test may have put a folder in the file's place.
        RemoveDirectoryA(File().c_str());
        RemoveDirectoryA(m_dir.c_str());
    }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    std::string File() const { return m_dir + "Pass.bin"; }
    void WriteFile(const std::string& bytes) const { testsupport::WriteFileBytes(File(), bytes); }
    std::string ReadFile() const { return testsupport::ReadFileBytes(File()); }

private:
    std::string m_dir;
};
