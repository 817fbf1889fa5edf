#include "core/Password.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

std::unique_ptr<CObject> CreatePassword() { return std::make_unique<CPassword>(); }

int RandomFiller() { return std::rand() % 200; }

}  // namespace

const CRuntimeClass CPassword::classCPassword{"CPassword", 1, &CreatePassword};

bool CPassword::Matches(const std::string& candidate) const {
    return std::strcmp(m_strPassword.c_str(), candidate.c_str()) == 0;
}

std::string ScramblePassword(const std::string& plain, int (*filler)()) {
    std::string scrambled;
    scrambled.reserve(plain.size() + (plain.size() + 1) / 2);
    for (size_t j = 0; j < plain.size(); ++j) {
        if (j % 2 == 0) scrambled.push_back(static_cast<char>(filler()));
        scrambled.push_back(static_cast<char>(static_cast<uint8_t>(plain[j]) + j + 1));
    }
    return scrambled;
}

std::string UnscramblePassword(const std::string& scrambled) {
    std::string plain;
    size_t k = 0;
    for (size_t i = 0; i < scrambled.size(); ++i) {
        if (i % 3 == 0) {
            ++k;
            continue;
        }
        plain.push_back(static_cast<char>(static_cast<uint8_t>(scrambled[i]) - i + k - 1));
    }
    return plain;
}

void CPassword::Serialize(CArchive& ar) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    if (ar.IsStoring()) {
        // The length field keeps what the writer set; it is the check the
        // dialogs use to tell a damaged record.
        ar << ScramblePassword(m_strPassword, &RandomFiller) << m_nLength;
    } else {
        std::string scrambled;
        ar >> scrambled >> m_nLength;
        m_strPassword = UnscramblePassword(scrambled);
    }
}

void StorePassword(CFile& file, const std::string& text) {
    CArchive ar(file, CArchive::kStore);
    CPassword record;
    record.m_strPassword = text;
    record.m_nLength = static_cast<int32_t>(text.size());
    ar.WriteObject(record);
    ar.Close();
}

std::unique_ptr<CPassword> LoadPassword(CFile& file) {
    CArchive ar(file, CArchive::kLoad);
    std::unique_ptr<CObject> object = ar.ReadObject(CPassword::classCPassword);
    return std::unique_ptr<CPassword>(static_cast<CPassword*>(object.release()));
}
