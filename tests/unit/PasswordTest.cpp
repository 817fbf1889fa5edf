// The password record in "Pass.bin": scrambling, the archive's bytes with
// their text-mode translation, and every way a file can be unreadable.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "core/Password.h"

using namespace std::string_literals;

namespace {

const std::string kEmptyRecord(
    "\xFF\xFF\x01\x00\x09\x00"
    "CPassword"
    "\x00\x00\x00\x00\x00",
    20);
constexpr size_t kHeader = 15;

// Any bytes but NUL, with 0A, 0D, 1A and FF among them.
std::string PasswordOf(size_t n) {
    std::string p;
    for (size_t j = 0; j < n; ++j) p.push_back(static_cast<char>(1 + (j * 37 + 9) % 255));
    return p;
}

std::string Stored(const std::string& password) {
    CMemoryFile file;
    StorePassword(file, password);
    return file.Bytes();
}

std::unique_ptr<CPassword> Loaded(const std::string& disk) {
    CMemoryFile file(disk, "C:\\Lumeyra\\Pass.bin");
    return LoadPassword(file);
}

// The record as the archive sees it: the disk bytes with 0D 0A read as 0A.
std::string Untranslated(const std::string& disk) {
    std::string record;
    for (size_t i = 0; i < disk.size(); ++i) {
        if (disk[i] == '\x0D' && i + 1 < disk.size() && disk[i + 1] == '\x0A') continue;
        record.push_back(disk[i]);
    }
    return record;
}

std::string ErrorText(const std::string& disk) {
    try {
        Loaded(disk);
    } catch (const CFileError& e) {
        return e.what();
    }
    return "(no error)";
}

}  // namespace

TEST(Password, RoundTripsThroughTheFileWithTheScrambledLengthAndPrefix) {
    struct Case {
        size_t n, m, prefixBytes;
    };
    for (Case c : {Case{0, 0, 1},
                   {1, 2, 1},
                   {2, 3, 1},
                   {3, 5, 1},
                   {4, 6, 1},
                   {10, 15, 1},
                   {17, 26, 1},
                   {169, 254, 1},
                   {170, 255, 3}}) {
        SCOPED_TRACE(c.n);
        std::string password = PasswordOf(c.n);
        CMemoryFile file;
        StorePassword(file, password);
        EXPECT_EQ(file.Writes(), 1);
        EXPECT_EQ(file.Flushes(), 1);

        std::string record = Untranslated(file.Bytes());
        ASSERT_EQ(record.size(), kHeader + c.prefixBytes + c.m + 4);
        EXPECT_EQ(record.substr(0, kHeader), kEmptyRecord.substr(0, kHeader));
        if (c.prefixBytes == 1)
            EXPECT_EQ(static_cast<uint8_t>(record[kHeader]), c.m);
        else
            EXPECT_EQ(record.substr(kHeader, 3), "\xFF\xFF\x00"s);
        for (size_t i = 0; i < c.m; i += 3)
            EXPECT_LT(static_cast<uint8_t>(record[kHeader + c.prefixBytes + i]), 200) << "filler " << i;

        auto loaded = Loaded(file.Bytes());
        EXPECT_EQ(loaded->m_strPassword, password);
        EXPECT_EQ(loaded->m_nLength, static_cast<int32_t>(c.n));
        EXPECT_FALSE(loaded->IsDamaged());
    }
}

TEST(Password, EmptyPasswordIsTheShippedTwentyByteRecord) {
    EXPECT_EQ(Stored(""), kEmptyRecord);
    std::ifstream shipped(LUMEYRA_SOURCE_DIR "/res/Pass.bin", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(shipped), {}), kEmptyRecord);
    auto loaded = Loaded(kEmptyRecord);
    EXPECT_FALSE(loaded->IsSet());
    EXPECT_FALSE(loaded->IsDamaged());
}

TEST(Password, LineFeedsGoToDiskAsCrLfAndComeBack) {
    // Ten bytes: the length field is 0A 00 00 00.
    std::string disk = Stored("0123456789");
    EXPECT_EQ(disk.substr(disk.size() - 5), "\x0D\x0A\x00\x00\x00"s);
    EXPECT_EQ(Loaded(disk)->m_nLength, 10);

    // 0C + 1 and 08 + 2: the scrambled 0D 0A goes to disk as 0D 0D 0A.
    disk = Stored("\x0C\x08");
    EXPECT_EQ(disk.substr(disk.size() - 7), "\x0D\x0D\x0A\x02\x00\x00\x00"s);
    EXPECT_EQ(Loaded(disk)->m_strPassword, "\x0C\x08");

    // A CR alone, and a CR as the file's last byte, stay CRs.
    auto lone = Loaded(kEmptyRecord.substr(0, kHeader) + "\x02\x07\x0D\x01\x00\x00\x0D"s);
    EXPECT_EQ(lone->m_strPassword, "\x0C");
    EXPECT_EQ(lone->m_nLength, 0x0D000001);
}

TEST(Password, ShortRecordOverALongOneKeepsTheTailAndReadsShort) {
    std::string longDisk = Stored(PasswordOf(40));
    CMemoryFile file(longDisk);
    StorePassword(file, "abc");
    EXPECT_EQ(file.Bytes().size(), longDisk.size());
    EXPECT_EQ(file.Bytes().substr(file.Bytes().size() - 8), longDisk.substr(longDisk.size() - 8));
    EXPECT_EQ(Loaded(file.Bytes())->m_strPassword, "abc");
}

TEST(Password, LongerRecordOnAFullDiskLeavesTheOldOneWhole) {
    std::string oldDisk = Stored("old");
    CMemoryFile file(oldDisk);
    file.SetCapacity(oldDisk.size() + 2);
    try {
        StorePassword(file, "a longer password");
        ADD_FAILURE() << "the disk is full";
    } catch (const CFileError& e) {
        EXPECT_EQ(e.GetCause(), CFileError::kDiskFull);
    }
    EXPECT_EQ(file.Bytes().substr(0, oldDisk.size()), oldDisk);
    EXPECT_EQ(Loaded(file.Bytes())->m_strPassword, "old");
}

TEST(Password, FillersDoNotMatterButTheLengthAndTheStringDo) {
    // "pass" has no byte that the translation touches: record == disk.
    std::string disk = Stored("pass");
    ASSERT_EQ(disk.size(), kHeader + 1 + 6 + 4);
    std::string changedFiller = disk;
    changedFiller[kHeader + 1 + 3] = '\x63';
    EXPECT_EQ(Loaded(changedFiller)->m_strPassword, "pass");
    EXPECT_FALSE(Loaded(changedFiller)->IsDamaged());

    std::string changedLength = disk;
    changedLength[disk.size() - 4] = '\x05';
    EXPECT_TRUE(Loaded(changedLength)->IsDamaged());

    std::string shortened = disk;
    shortened.erase(kHeader + 1 + 5, 1);
    shortened[kHeader] = '\x05';
    EXPECT_TRUE(Loaded(shortened)->IsDamaged());

    // Decoding to empty with a stored length: no password, but damaged.
    std::string emptyButFour = kEmptyRecord;
    emptyButFour[kHeader + 1] = '\x04';
    auto record = Loaded(emptyButFour);
    EXPECT_FALSE(record->IsSet());
    EXPECT_TRUE(record->IsDamaged());
}

TEST(Password, MatchesExactlyAsAZeroTerminatedString) {
    CPassword p;
    p.m_strPassword = std::string("Key\0tail", 8);
    EXPECT_TRUE(p.Matches("Key"));
    EXPECT_FALSE(p.Matches("key"));
    EXPECT_FALSE(p.Matches("Key "));
    p.m_strPassword = std::string("\0x", 2);
    EXPECT_FALSE(p.IsSet());
}

TEST(Password, UnreadableRecordsRaiseTheirErrorTexts) {
    const std::string path = "C:\\Lumeyra\\Pass.bin";
    const std::string pastEnd = "An attempt was made to access an unnamed file past its end.";
    for (size_t cut = 0; cut < kEmptyRecord.size(); ++cut)
        EXPECT_EQ(ErrorText(kEmptyRecord.substr(0, cut)), pastEnd) << cut;

    auto with = [&](size_t at, const std::string& bytes) {
        std::string r = kEmptyRecord;
        return r.replace(at, bytes.size(), bytes);
    };
    EXPECT_EQ(ErrorText(with(0, "\x00\x00"s)), path + " has a bad format.");
    EXPECT_EQ(ErrorText(with(0, "\x01\x80"s)), path + " has a bad format.");
    EXPECT_EQ(ErrorText(with(2, "\x02"s)), path + " contains an incorrect schema.");
    EXPECT_EQ(ErrorText(with(14, "e")), path + " contained an unexpected object.");
    EXPECT_EQ(ErrorText(with(4, "\x40"s)), path + " contained an unexpected object.");
    // A huge length, in each prefix form, is past the end, not an allocation.
    std::string header = kEmptyRecord.substr(0, kHeader);
    for (const std::string& string :
         {"\xFF\x00\xFF"s + std::string(300, 'a'), "\xFF\xFF\xFF\xFF\xFF\xFF\x7F"s + std::string(9, 'a')}) {
        EXPECT_EQ(ErrorText(header + string), pastEnd);
        CMemoryFile file(string);
        CArchive ar(file, CArchive::kLoad);
        std::string text;
        EXPECT_THROW(ar >> text, CFileError);
        EXPECT_LT(text.capacity(), 1024u) << "reserved for a length the file does not hold";
    }
    EXPECT_EQ(ErrorText(header + "\xFF\xFE\xFF"), path + " has a bad format.");
}

TEST(FileError, TextsNameTheFile) {
    const std::string path = "C:\\Lumeyra\\Pass.bin";
    EXPECT_STREQ(CFileError(CFileError::kNotFound, path).what(), "C:\\Lumeyra\\Pass.bin was not found.");
    EXPECT_STREQ(CFileError(CFileError::kAccessDenied, path).what(),
                 "Access to C:\\Lumeyra\\Pass.bin was denied.");
    EXPECT_STREQ(CFileError(CFileError::kSharingViolation, path).what(),
                 "A sharing violation occurred while accessing C:\\Lumeyra\\Pass.bin.");
}
