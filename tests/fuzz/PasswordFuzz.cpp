// Feeds arbitrary files to the password reader: it must either return a
// record or raise a file error, never crash, leak or allocate more than the
// file could hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/Password.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CMemoryFile file(std::string(reinterpret_cast<const char*>(data), size));
    try {
        std::unique_ptr<CPassword> record = LoadPassword(file);
        // Every byte of the plain text came from at least one byte on disk.
        if (record->m_strPassword.size() > size) std::abort();
    } catch (const CFileError&) {
    }
    return 0;
}
