#include "queue/TextHelpers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace tollivex {
namespace {

TEST(FormatFileSize, UnitsBoundariesAndHalfToEvenRounding)
{
    std::setlocale(LC_NUMERIC, "C");
    const struct {
        double bytes;
        const char* text;
    } rows[] = {
        {0, "0 Bytes"},          {-1, "-1 Bytes"},       {1023, "1023 Bytes"},
        {1024, "1 KB"},          {1280, "1.2 KB"},       {1536, "1.5 KB"},
        {1792, "1.8 KB"},        {1048575, "1024 KB"},   {1048576, "1 MB"},
        {5000000, "4.8 MB"},     {1073741823, "1 GB"},   {1073741824, "1 GB"},
        {1610612736, "1.5 GB"},  {1099511627776.0, ""},  {2e12, ""},
        {2048, "2 KB"},          {1100585369.6, "1 GB"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FormatFileSize(static_cast<float>(row.bytes)), row.text) << "bytes " << row.bytes;
}

TEST(FormatFileSize, HalvesGoToTheEvenNeighbourInEveryUnit)
{
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(FormatFileSize(1024.0f * 2.25f), "2.2 KB");
    EXPECT_EQ(FormatFileSize(1024.0f * 2.75f), "2.8 KB");
    EXPECT_EQ(FormatFileSize(1048576.0f * 3.25f), "3.2 MB");
    EXPECT_EQ(FormatFileSize(1048576.0f * 3.75f), "3.8 MB");
}

TEST(CleanFileName, RemovesTheTenCharactersAndNothingElse)
{
    EXPECT_EQ(CleanFileName("a/b:c.flv"), "abc.flv");
    EXPECT_EQ(CleanFileName("Tom & Jerry.flv"), "Tom  Jerry.flv");
    EXPECT_EQ(CleanFileName("my:video?.flv"), "myvideo.flv");
    EXPECT_EQ(CleanFileName("\\/:*?\"<>|&x"), "x");
    EXPECT_EQ(CleanFileName("  spaced name .flv "), "  spaced name .flv ");
    EXPECT_EQ(CleanFileName("vid\xc3\xa9o.flv"), "vid\xc3\xa9o.flv");  // non-ASCII kept
    EXPECT_EQ(CleanFileName("???"), "Enter File Name");
    EXPECT_EQ(CleanFileName(""), "Enter File Name");
}

TEST(CleanFileName, NoNameLeadsOutOfTheFolder)
{
    // Whatever a page, a server or the user says, the result is one plain name.
    const char* hostile[] = {"../../x", "/etc/passwd", "..\\..\\boot.ini", "C:\\Windows\\x.flv",
                             "..", ".", " . ", "...", "./..", "a/../../b"};
    for (const char* name : hostile) {
        const std::string cleaned = CleanFileName(name);
        EXPECT_EQ(cleaned.find('/'), std::string::npos) << name;
        EXPECT_EQ(cleaned.find('\\'), std::string::npos) << name;
        EXPECT_NE(cleaned, "..") << name;
        EXPECT_NE(cleaned, ".") << name;
        EXPECT_FALSE(cleaned.empty()) << name;
        EXPECT_NE(cleaned.find_first_not_of(". "), std::string::npos) << name;
    }
    EXPECT_EQ(CleanFileName("../../x"), "....x");
    EXPECT_EQ(CleanFileName(".."), "Enter File Name");
    EXPECT_EQ(CleanFileName(std::string("a\0b.flv", 7)), "ab.flv");
    EXPECT_EQ(CleanFileName("line\r\nbreak.flv"), "linebreak.flv");
    // C1 controls go as C0 ones do (U+0085 breaks the line in some file managers); U+00A0 stays.
    EXPECT_EQ(CleanFileName("a\xC2\x80" "b\xC2\x85" "c\xC2\x9F" "\xC2\xA0.flv"), "abc\xC2\xA0.flv");
    // Invisible bidirectional and format characters: what is shown is what is saved.
    for (const char* hidden : {"\u200B", "\u200F", "\u202A", "\u202E", "\u2066", "\u2069", "\uFEFF"})
        EXPECT_EQ(CleanFileName(std::string("clip") + hidden + "vlf.exe"), "clipvlf.exe") << hidden;
    EXPECT_EQ(CleanFileName("\u202E\u200B"), "Enter File Name");
    EXPECT_EQ(CleanFileName("\u2010\u2065\u206A\uFEFE.flv"), "\u2010\u2065\u206A\uFEFE.flv");  // neighbours kept
    // Bytes that are no character (stray, cut, overlong, a surrogate) are saved as shown: U+FFFD.
    const std::string shown = "\xEF\xBF\xBD";
    EXPECT_EQ(CleanFileName("a\xFF" "b\xC3" "c\xC0\xAF" "d\xED\xA0\x80" "e\xF0\x9F\x8E\xAC.flv"),
              "a" + shown + "b" + shown + "c" + shown + shown + "d" + shown + shown + shown + "e\xF0\x9F\x8E\xAC.flv");
}

} // namespace
} // namespace tollivex
