#include "resolve/TextSearch.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tollivex::text {
namespace {

// The plain definitions the linear searches must agree with.
size_t NaiveFind(const std::string& text, const std::string& needle, size_t from)
{
    for (size_t i = from; i + needle.size() <= text.size(); ++i) {
        if (text.compare(i, needle.size(), needle) == 0)
            return i;
    }
    return npos;
}

size_t NaiveFindLastBefore(const std::string& text, const std::string& needle, size_t before)
{
    size_t found = npos;
    for (size_t i = 0; i < before && i + needle.size() <= text.size(); ++i) {
        if (text.compare(i, needle.size(), needle) == 0)
            found = i;
    }
    return found;
}

TEST(FoldedText, SearchesAgreeWithTheirDefinitionForShortAndLongNeedles)
{
    std::mt19937 random(11);
    // A small alphabet makes overlapping and periodic matches common; the
    // third letter leaves runs a long needle's search skips over.
    const std::string alphabet = "abABc";
    auto randomText = [&](size_t length) {
        std::string s;
        for (size_t i = 0; i < length; ++i)
            s += alphabet[random() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 3000; ++round) {
        const std::string text = randomText(random() % 80);
        std::string needle = randomText(1 + random() % 14);
        // Often a piece of the text itself, so long needles match too.
        if (random() % 2 && text.size() > needle.size())
            needle = text.substr(random() % (text.size() - needle.size()), needle.size());
        const FoldedText folded(text);
        const std::string lowerText = ToLowerAscii(text);
        const std::string lowerNeedle = ToLowerAscii(needle);
        const size_t from = random() % (text.size() + 2);
        EXPECT_EQ(folded.Find(needle, from), NaiveFind(lowerText, lowerNeedle, from)) << text << " / " << needle;
        EXPECT_EQ(folded.FindLastBefore(needle, from), NaiveFindLastBefore(lowerText, lowerNeedle, from))
            << text << " / " << needle << " before " << from;
    }
}

TEST(FoldedText, PositionsAndCuts)
{
    const std::string page = "Key=Value&Other=x&";
    const FoldedText folded(page);
    EXPECT_EQ(folded.Find("key="), 0u);
    EXPECT_EQ(folded.Find("&", 10), 17u);
    EXPECT_EQ(folded.Find("&", 18), npos);
    EXPECT_EQ(folded.Find("x", 100), npos);
    EXPECT_EQ(folded.FindLastBefore("=", 15), 3u);
    EXPECT_EQ(folded.FindLastBefore("=", npos), 15u);
    EXPECT_EQ(folded.FindLastBefore("key", 0), npos);
    EXPECT_TRUE(folded.Contains("OTHER"));

    std::string value;
    EXPECT_TRUE(folded.CutUntil(4, "&", 0, value));
    EXPECT_EQ(value, "Value");
    EXPECT_FALSE(folded.CutUntil(10, "&", 0, value)) << "delimiter before the start";
    EXPECT_FALSE(folded.CutUntil(4, "#", 0, value));
    EXPECT_FALSE(folded.CutUntil(page.size() + 1, "&", 0, value));
    EXPECT_TRUE(folded.CutUntil(page.size(), "", page.size(), value));
    EXPECT_EQ(value, "");
}

TEST(ReplaceAllNoCase, EveryOccurrenceLeftToRight)
{
    EXPECT_EQ(ReplaceAllNoCase("a&amp;b&AMP;c&Amp;", "&amp;", "&"), "a&b&c&");
    EXPECT_EQ(ReplaceAllNoCase("aaaa", "aa", "a"), "aa") << "replaced text is not searched again";
    EXPECT_EQ(ReplaceAllNoCase("x/IMAGE/y", "/image/", "/movie/"), "x/movie/y");
    EXPECT_EQ(ReplaceAllNoCase("abc", "", "z"), "abc");
    const std::string longNeedle = "0123456789abcdef";
    EXPECT_EQ(ReplaceAllNoCase("<" + longNeedle + longNeedle + ">", "0123456789ABCDEF", "-"), "<-->");
    EXPECT_TRUE(ContainsNoCase("Http://x", "HTTP"));
    EXPECT_FALSE(ContainsNoCase("htt", "http"));
}

} // namespace
} // namespace tollivex::text
