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
        {0, "0 Bytes"},         {-1, "-1 Bytes"},      {1023, "1023 Bytes"}, {1024, "1 KB"},
        {1280, "1.2 KB"},       {1536, "1.5 KB"},      {1792, "1.8 KB"},     {1048575, "1024 KB"},
        {1048576, "1 MB"},      {5000000, "4.8 MB"},   {1073741823, "1 GB"}, {1073741824, "1 GB"},
        {1610612736, "1.5 GB"}, {1099511627776.0, ""}, {2e12, ""},           {2048, "2 KB"},
        {1100585369.6, "1 GB"},
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

TEST(CharacterCuts, WholeUtf8CharactersAreCounted)
{
    const std::string mixed = "a\xc3\xa9\xe6\x97\xa5\xf0\x9f\x8e\xacz"; // a é 日 🎬 z
    EXPECT_EQ(CharacterCount(mixed), 5u);
    EXPECT_EQ(FirstCharacters(mixed, 0), "");
    EXPECT_EQ(FirstCharacters(mixed, 2), "a\xc3\xa9");
    EXPECT_EQ(FirstCharacters(mixed, 4), "a\xc3\xa9\xe6\x97\xa5\xf0\x9f\x8e\xac");
    EXPECT_EQ(FirstCharacters(mixed, 9), mixed);
    EXPECT_EQ(LastCharacters(mixed, 0), "");
    EXPECT_EQ(LastCharacters(mixed, 2), "\xf0\x9f\x8e\xacz");
    EXPECT_EQ(LastCharacters(mixed, 5), mixed);
    EXPECT_EQ(LastCharacters(mixed, 9), mixed);
    EXPECT_EQ(CharacterCount(""), 0u);
}

} // namespace
} // namespace tollivex
