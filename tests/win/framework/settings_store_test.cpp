// The settings store over the real profile API.
#include "app/settings_store.h"
#include "core/logfont_record.h"
#include "support/modal_driver.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>

using namespace core::keys;
using testsupport::ProfilePath;

namespace {

void WriteRaw(const char* text)
{
    testsupport::ResetProfile();
    FILE* f = _wfopen(ProfilePath().c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    std::fputs(text, f);
    std::fclose(f);
}

std::vector<std::uint8_t> Bytes(std::size_t n, std::uint8_t seed)
{
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i)
        v[i] = static_cast<std::uint8_t>(seed + i * 37);
    return v;
}

} // namespace

TEST(SettingsStore, FreshProfileReadsTheDefaults)
{
    testsupport::ResetProfile();
    EXPECT_EQ(SettingsStore::ReadInt(kColumns), 4);
    EXPECT_EQ(SettingsStore::ReadInt(kRows), 3);
    EXPECT_EQ(SettingsStore::ReadInt(kWeekNumbers), 1);
    EXPECT_EQ(SettingsStore::ReadInt(kForeColor), 0);
    EXPECT_EQ(SettingsStore::ReadInt(kMonthBackColor), 0x00C8D0D4);
    EXPECT_EQ(SettingsStore::ReadInt(kTitleBackColor), 0x00C08000);
    EXPECT_EQ(SettingsStore::ReadInt(kTitleForeColor), 0);
    EXPECT_EQ(SettingsStore::ReadInt(kTrailingForeColor), 0x00808080);
    EXPECT_EQ(SettingsStore::ReadInt(kHolidays), 1);
    EXPECT_EQ(SettingsStore::ReadString(kHolidayRegion), L"");
    EXPECT_EQ(SettingsStore::ReadInt(kHolidayForeColor), 192);
    EXPECT_FALSE(SettingsStore::ReadBinary(kLogFont.section, kLogFont.name));
    // The font falls back to the default GUI font's description.
    const auto lf = SettingsStore::ReadLogFont();
    ASSERT_TRUE(lf);
    LOGFONTA gui{};
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    EXPECT_EQ(std::memcmp(&*lf, &gui, sizeof gui), 0);
    // Reading never creates the file.
    EXPECT_EQ(testsupport::ProfileText(), "");
}

TEST(SettingsStore, WritesAreSeenByTheNextReadAndLandInTheFile)
{
    testsupport::ResetProfile();
    SettingsStore::WriteInt(kColumns, 5);
    EXPECT_EQ(SettingsStore::ReadInt(kColumns), 5);
    SettingsStore::WriteInt(kColumns, -3);
    EXPECT_EQ(SettingsStore::ReadInt(kColumns), -3);
    SettingsStore::WriteInt(kTitleBackColor, static_cast<int>(0xFF00FF00u)); // high byte set
    EXPECT_EQ(static_cast<std::uint32_t>(SettingsStore::ReadInt(kTitleBackColor)), 0xFF00FF00u);
    const std::string text = testsupport::ProfileText();
    EXPECT_NE(text.find("[Allgemein]"), std::string::npos);
    EXPECT_NE(text.find("Spalten=-3"), std::string::npos);
    EXPECT_NE(text.find("[Color]"), std::string::npos);
}

TEST(SettingsStore, ValuesThatAreNotWholeNumbersReadAsTheDefault)
{
    WriteRaw("[Allgemein]\r\nSpalten=abc\r\nZeilen=\r\nMorvelinwochen=2147483648\r\n"
             "[Color]\r\nForeColor=12abc\r\nMonthBackColor= -2147483648 \r\nTitleForeColor=0x10\r\n"
             "TrailingForeColor=+7\r\n");
    EXPECT_EQ(SettingsStore::ReadInt(kColumns), 4);
    EXPECT_EQ(SettingsStore::ReadInt(kRows), 3);
    EXPECT_EQ(SettingsStore::ReadInt(kWeekNumbers), 1);
    EXPECT_EQ(SettingsStore::ReadInt(kForeColor), 0);
    EXPECT_EQ(SettingsStore::ReadInt(kMonthBackColor), INT_MIN);
    EXPECT_EQ(SettingsStore::ReadInt(kTitleForeColor), 0);
    EXPECT_EQ(SettingsStore::ReadInt(kTrailingForeColor), 7);
}

TEST(SettingsStore, BinaryRecordsRoundTripByteForByte)
{
    testsupport::ResetProfile();
    for (std::size_t n : {std::size_t{0}, std::size_t{1}, std::size_t{59}, std::size_t{60}, std::size_t{61},
                          std::size_t{4000}}) {
        const auto bytes = Bytes(n, static_cast<std::uint8_t>(n));
        SettingsStore::WriteBinary(L"Allgemein", L"Probe", bytes.data(), bytes.size());
        const auto back = SettingsStore::ReadBinary(L"Allgemein", L"Probe");
        if (n == 0) {
            EXPECT_FALSE(back && !back->empty());
            continue;
        }
        ASSERT_TRUE(back) << n;
        EXPECT_EQ(*back, bytes) << n;
    }
}

TEST(SettingsStore, FontRecordOfTheWrongSizeOrNotHexFallsBackToTheGuiFont)
{
    LOGFONTA gui{};
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    for (std::size_t n : {std::size_t{59}, std::size_t{61}}) {
        testsupport::ResetProfile();
        const auto bytes = Bytes(n, 3);
        SettingsStore::WriteBinary(kLogFont.section, kLogFont.name, bytes.data(), bytes.size());
        const auto lf = SettingsStore::ReadLogFont();
        ASSERT_TRUE(lf);
        EXPECT_EQ(std::memcmp(&*lf, &gui, sizeof gui), 0) << n;
    }
    WriteRaw("[Allgemein]\r\nLogFont=" // 120 characters, one of them not hex
             "F3FFFFFF000000000000000000000000900100000000000000000000417269616C00000000000000000000000000000"
             "00000000000000000000000XZ\r\n");
    EXPECT_FALSE(SettingsStore::ReadBinary(kLogFont.section, kLogFont.name));
    const auto lf = SettingsStore::ReadLogFont();
    ASSERT_TRUE(lf);
    EXPECT_EQ(std::memcmp(&*lf, &gui, sizeof gui), 0);
}

TEST(SettingsStore, SixtyByteRecordIsUsedAsItIsButForTheFaceNamesEndAndAnImpossibleHeight)
{
    testsupport::ResetProfile();
    auto bytes = Bytes(60, 200); // garbage, no NUL in the face name
    const std::int32_t height = -20;
    std::memcpy(bytes.data(), &height, sizeof height);
    SettingsStore::WriteBinary(kLogFont.section, kLogFont.name, bytes.data(), bytes.size());
    auto lf = SettingsStore::ReadLogFont();
    ASSERT_TRUE(lf);
    EXPECT_EQ(std::memcmp(&*lf, bytes.data(), offsetof(LOGFONTA, lfFaceName)), 0);
    // The face name is cut at its field's end.
    const char* face = reinterpret_cast<const char*>(bytes.data()) + offsetof(LOGFONTA, lfFaceName);
    EXPECT_EQ(std::string(lf->lfFaceName), std::string(face, LF_FACESIZE - 1));

    // A height beyond any font's is a damaged record: the default font.
    bytes = Bytes(60, 200);
    SettingsStore::WriteBinary(kLogFont.section, kLogFont.name, bytes.data(), bytes.size());
    lf = SettingsStore::ReadLogFont();
    ASSERT_TRUE(lf);
    const auto gui = SettingsStore::DefaultLogFont();
    EXPECT_EQ(std::memcmp(&*lf, &*gui, sizeof *lf), 0);
}

// Text keys (the Land): as the profile API reads them, and a value no
// program of ours wrote (a megabyte of it) as absent.
TEST(SettingsStore, TextValuesRoundTripAndReadAsTheProfileApiReadsThem)
{
    testsupport::ResetProfile();
    EXPECT_TRUE(SettingsStore::WriteString(kHolidayRegion, L"BY"));
    EXPECT_EQ(SettingsStore::ReadString(kHolidayRegion), L"BY");
    EXPECT_NE(testsupport::ProfileText().find("[Allgemein]\r\nBundesland=BY\r\n"), std::string::npos);
    EXPECT_TRUE(SettingsStore::WriteString(kHolidayRegion, L""));
    EXPECT_EQ(SettingsStore::ReadString(kHolidayRegion), L"");
    EXPECT_NE(testsupport::ProfileText().find("Bundesland=\r\n"), std::string::npos) << "written, empty";

    WriteRaw("[allgemein]\r\n bundesland =  \"sn\"  \r\n");
    EXPECT_EQ(SettingsStore::ReadString(kHolidayRegion), L"sn");
    std::string big = "[Allgemein]\r\nBundesland=";
    big.append(std::size_t{1} << 21, 'B');
    big += "\r\n";
    WriteRaw(big.c_str());
    EXPECT_EQ(SettingsStore::ReadString(kHolidayRegion), L"");

    WriteRaw("[Allgemein]\r\nBundesland=HH\r\n");
    ASSERT_TRUE(::SetFileAttributesW(ProfilePath().c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(SettingsStore::WriteString(kHolidayRegion, L"BY"));
    ::SetFileAttributesW(ProfilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(testsupport::ProfileText(), "[Allgemein]\r\nBundesland=HH\r\n");
}

TEST(SettingsStore, WriteToAReadOnlyProfileFailsShowsNothingAndLeavesTheFileAlone)
{
    WriteRaw("[Allgemein]\r\nSpalten=2\r\n");
    ASSERT_TRUE(::SetFileAttributesW(ProfilePath().c_str(), FILE_ATTRIBUTE_READONLY));
    testsupport::ModalDriver driver; // any window it sees is unexpected
    EXPECT_FALSE(SettingsStore::WriteInt(kColumns, 6));
    const LOGFONTA font = *SettingsStore::DefaultLogFont();
    EXPECT_FALSE(SettingsStore::WriteLogFont(font));
    ::SetFileAttributesW(ProfilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(testsupport::ProfileText(), "[Allgemein]\r\nSpalten=2\r\n");
    EXPECT_TRUE(driver.Unexpected().empty());
    // Once writable again, the same write goes through.
    EXPECT_TRUE(SettingsStore::WriteInt(kColumns, 6));
    EXPECT_EQ(SettingsStore::ReadInt(kColumns), 6);
}

TEST(SettingsStore, ProfilePathThatIsAFolderReadsDefaultsAndFailsWrites)
{
    testsupport::ResetProfile();
    ASSERT_TRUE(::CreateDirectoryW(ProfilePath().c_str(), nullptr));
    EXPECT_EQ(SettingsStore::ReadInt(kColumns), 4);
    EXPECT_TRUE(SettingsStore::ReadLogFont());
    testsupport::ModalDriver driver;
    EXPECT_FALSE(SettingsStore::WriteInt(kColumns, 2));
    ::RemoveDirectoryW(ProfilePath().c_str());
    EXPECT_TRUE(driver.Unexpected().empty());
}

TEST(SettingsStore, ProfileInAFolderThatDoesNotExistReadsDefaultsAndFailsWrites)
{
    const std::wstring saved = fw::AfxGetApp()->m_profilePath;
    fw::AfxGetApp()->m_profilePath = saved + L".missing\\sub\\Morvelin.ini";
    EXPECT_EQ(SettingsStore::ReadInt(kRows), 3);
    testsupport::ModalDriver driver;
    EXPECT_FALSE(SettingsStore::WriteInt(kRows, 2));
    EXPECT_EQ(SettingsStore::ReadInt(kRows), 3);
    fw::AfxGetApp()->m_profilePath = saved;
    EXPECT_TRUE(driver.Unexpected().empty());
}

// The layout pass reads its eight keys a section at a time: on any profile
// it must see exactly what key-by-key reads see.
TEST(SettingsStore, ReadingManyKeysAtOnceSeesWhatReadingEachSees)
{
    const std::initializer_list<const core::SettingKey*> keys{
        &kColumns,        &kRows,           &kForeColor,         &kMonthBackColor,
        &kTitleBackColor, &kTitleForeColor, &kTrailingForeColor, &kWeekNumbers};
    const char* profiles[] = {
        // absent, then empty
        nullptr,
        "",
        // quotes, blanks, case, a key twice (the first counts), a line
        // without '=', a comment, another section's key
        "[allgemein]\r\n  SPALTEN =  \"5\"  "
        "\r\nzeilen='2'\r\nZeilen=4\r\nMorvelinwochen\r\nMorvelinwochen=0\r\n"
        "[Color]\r\n;ForeColor=255\r\nForeColor = 0x10\r\nMonthBackColor=\"12\r\nTitleBackColor=''\r\n"
        "TitleForeColor=\t-7\t\r\nSpalten=9\r\n",
        // a section twice (only the first is read), a key outside any
        // section, one in a section that merely contains the name
        "Spalten=7\r\n[Allgemein]\r\nZeilen=1\r\n[Color]\r\nForeColor=1\r\n[Allgemein]\r\nSpalten=6\r\n"
        "[Allgemein2]\r\nMorvelinwochen=0\r\n",
        // a value far longer than any this program writes
        nullptr,
    };
    for (std::size_t i = 0; i < std::size(profiles); ++i) {
        if (i == std::size(profiles) - 1) {
            const std::string longValue = "[Color]\r\nForeColor=" + std::string(5000, '1') +
                                          "\r\nTitleForeColor=3\r\n" + "[Allgemein]\r\nZeilen=2\r\n";
            WriteRaw(longValue.c_str());
        } else if (profiles[i]) {
            WriteRaw(profiles[i]);
        } else {
            testsupport::ResetProfile();
        }
        const std::vector<int> together = SettingsStore::ReadInts(keys);
        ASSERT_EQ(together.size(), keys.size());
        std::size_t k = 0;
        for (const core::SettingKey* key : keys) {
            EXPECT_EQ(together[k], SettingsStore::ReadInt(*key)) << "profile " << i << ", key " << k;
            ++k;
        }
    }
    // Spot checks that the cases above mean what they say.
    WriteRaw(profiles[2]);
    EXPECT_EQ(SettingsStore::ReadInts({&kColumns, &kRows, &kWeekNumbers, &kTitleForeColor}),
              (std::vector<int>{5, 2, 1, -7}));
}
