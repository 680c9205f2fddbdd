// Naming a downloaded file and judging its size text.

#include "scheduler/FileNames.h"
#include "queue/TextHelpers.h"
#include "resolve/SiteCode.h"
#include "scheduler/LocalFileInfo.h"

#include <gtest/gtest.h>

#include <string>

namespace tollivex {
namespace {

TEST(CleanFileName, RemovesTheTenCharactersAndNothingElse)
{
    EXPECT_EQ(CleanFileName("a/b:c.flv"), "abc.flv");
    EXPECT_EQ(CleanFileName("Tom & Jerry.flv"), "Tom  Jerry.flv");
    EXPECT_EQ(CleanFileName("my:video?.flv"), "myvideo.flv");
    EXPECT_EQ(CleanFileName("\\/:*?\"<>|&x"), "x");
    EXPECT_EQ(CleanFileName("  spaced name .flv "), "  spaced name .flv ");
    EXPECT_EQ(CleanFileName("vid\xc3\xa9o.flv"), "vid\xc3\xa9o.flv"); // non-ASCII kept
    EXPECT_EQ(CleanFileName("???"), "Enter File Name");
    EXPECT_EQ(CleanFileName(""), "Enter File Name");
}

TEST(CleanFileName, NoNameLeadsOutOfTheFolder)
{
    // Whatever a page, a server or the user says, the result is one plain name.
    const char* hostile[] = {"../../x", "/etc/passwd", "..\\..\\boot.ini", "C:\\Windows\\x.flv", "..", ".", " . ",
                             "...",     "./..",        "a/../../b"};
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
    EXPECT_EQ(CleanFileName("a\xC2\x80"
                            "b\xC2\x85"
                            "c\xC2\x9F"
                            "\xC2\xA0.flv"),
              "abc\xC2\xA0.flv");
    // Invisible bidirectional and format characters: what is shown is what is saved.
    for (const char* hidden : {"\u200B", "\u200F", "\u202A", "\u202E", "\u2066", "\u2069", "\uFEFF"})
        EXPECT_EQ(CleanFileName(std::string("clip") + hidden + "vlf.exe"), "clipvlf.exe") << hidden;
    EXPECT_EQ(CleanFileName("\u202E\u200B"), "Enter File Name");
    EXPECT_EQ(CleanFileName("\u2010\u2065\u206A\uFEFE.flv"), "\u2010\u2065\u206A\uFEFE.flv"); // neighbours kept
    // Bytes that are no character (stray, cut, overlong, a surrogate) are saved as shown: U+FFFD.
    const std::string shown = "\xEF\xBF\xBD";
    EXPECT_EQ(CleanFileName("a\xFF"
                            "b\xC3"
                            "c\xC0\xAF"
                            "d\xED\xA0\x80"
                            "e\xF0\x9F\x8E\xAC.flv"),
              "a" + shown + "b" + shown + "c" + shown + shown + "d" + shown + shown + shown + "e\xF0\x9F\x8E\xAC.flv");
}

TEST(DeriveLocalFileName, ServerNameLinkSegmentAndSiteRules)
{
    const struct {
        const char* link;
        const char* remote;
        int site;
        const char* name;
    } rows[] = {
        // The server's name wins unless the link names the video file itself.
        {"http://h/get?id=1", "clip.flv", siteGoogleVideo, "clip.flv"},
        {"http://h/dir/video.FLV", "other.flv", siteGoogleVideo, "video.FLV"},
        {"http://h/dir/video.wmv", "other.flv", siteBreak, "video.wmv"},
        {"http://h/dir/file", "", siteBolt, "file"},
        {"nolinkslash", "", siteBolt, "nolinkslash"},
        // A query becomes part of the name, cleaned of ? & = stays.
        {"http://cache.googlevideo.com/get_video?video_id=abc", "", siteYouTube, "get_videovideo_id=abc.flv"},
        {"http://h/v", "", siteDailyMotion, "v.flv"},
        {"http://h/v", "", siteZippyVideos, "v.flv"},
        // Quotes kept by the header parser are cleaned away.
        {"http://h/get", "\"movie.flv\"", siteBlip, "movie.flv"},
        {"http://h/get", "Tom & Jerry.flv", siteBlip, "Tom  Jerry.flv"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(DeriveLocalFileName(row.link, row.remote, row.site), row.name) << row.link;
}

TEST(DeriveLocalFileName, LongNamesKeepTheirExtension)
{
    const std::string longName = std::string(146, 'a') + ".flv";
    const std::string cut = DeriveLocalFileName("http://h/" + longName, "", siteBolt);
    EXPECT_EQ(cut, std::string(96, 'a') + ".flv");

    const std::string youTube = DeriveLocalFileName("http://h/get_video?video_id=" + std::string(40, 'x'), "",
                                                    siteYouTube);
    // Cut to 35 first, then the "?" is cleaned away.
    EXPECT_EQ(youTube, "get_videovideo_id=xxxxxxxxxxxx.flv");
    const std::string plain = DeriveLocalFileName("http://h/" + std::string(40, 'y'), "", siteYouTube);
    EXPECT_EQ(plain, std::string(31, 'y') + ".flv");

    // Exactly at the limits nothing is cut.
    const std::string hundred = std::string(96, 'b') + ".wmv";
    EXPECT_EQ(DeriveLocalFileName("http://h/" + hundred, "", siteBolt), hundred);

    // Characters are counted, not bytes, and no cut splits one.
    std::string accented;
    for (int i = 0; i < 146; ++i)
        accented += "\xc3\xa9"; // é
    EXPECT_EQ(DeriveLocalFileName("http://h/get", accented + ".flv", siteBolt), FirstCharacters(accented, 96) + ".flv");
    EXPECT_EQ(CharacterCount(DeriveLocalFileName("http://h/get", accented + ".flv", siteBolt)), 100u);
    const std::string fitting = FirstCharacters(accented, 96) + ".wmv"; // 100 characters, 196 bytes
    EXPECT_EQ(DeriveLocalFileName("http://h/get", fitting, siteBolt), fitting);
    EXPECT_EQ(DeriveLocalFileName("http://h/get", "\xe6\x97\xa5\xe6\x9c\xac.flv", siteBolt),
              "\xe6\x97\xa5\xe6\x9c\xac.flv");

    // 100 characters of four bytes are too long for the disk: cut to 255
    // bytes on a character boundary, the extension kept.
    std::string wide;
    for (int i = 0; i < 96; ++i)
        wide += "\xf0\x9f\x8e\xac"; // 🎬
    EXPECT_EQ(DeriveLocalFileName("http://h/get", wide + ".flv", siteBolt), FirstCharacters(wide, 62) + ".flv");
}

TEST(DeriveLocalFileName, HostileServerNamesStayInsideTheFolder)
{
    EXPECT_EQ(DeriveLocalFileName("http://h/get", "../../x", siteBolt), "....x");
    EXPECT_EQ(DeriveLocalFileName("http://h/get", "/etc/passwd", siteBolt), "etcpasswd");
    EXPECT_EQ(DeriveLocalFileName("http://h/get", "..\\..\\boot.ini", siteBolt), "....boot.ini");
    EXPECT_EQ(DeriveLocalFileName("http://h/get", "..", siteBolt), "Enter File Name");
    EXPECT_EQ(DeriveLocalFileName("http://h/get", ". .", siteBolt), "Enter File Name");
    EXPECT_EQ(DeriveLocalFileName("http://h/..", "", siteBolt), "Enter File Name");
    for (const char* remote : {"../../x", "/etc/passwd", "a/../../b", "C:\\Windows\\x"}) {
        const std::string name = DeriveLocalFileName("http://h/get", remote, siteBolt);
        EXPECT_EQ(name.find('/'), std::string::npos) << remote;
        EXPECT_EQ(name.find('\\'), std::string::npos) << remote;
    }
}

TEST(SizeText, NoSizeFromAnExistingFileIsZero)
{
    EXPECT_EQ(SizeTextFor(-1.0f, true), "0");
    EXPECT_EQ(SizeTextFor(-1.0f, false), "-1 Bytes");
    EXPECT_EQ(SizeTextFor(5000.0f, true), "4.9 KB");
    EXPECT_EQ(SizeTextFor(0.0f, true), "0 Bytes");
}

TEST(SizeText, FailureByTheFirstTwoCharacters)
{
    // "4\u066B9 KB": a locale whose decimal separator is not ASCII.
    for (const char* good : {"0", "0 Bytes", "4.8 MB", "4,8 MB", "1 KB", "12 KB", "999 Bytes", "+1", "4\u066B9 KB"})
        EXPECT_FALSE(SizeTextMarksFailure(good)) << good;
    for (const char* bad : {"-1 Bytes", "-1", "????", "ERROR", "", "-", " 1", "1x", "x1", "1?", "\u06642"})
        EXPECT_TRUE(SizeTextMarksFailure(bad)) << bad;
}

} // namespace
} // namespace tollivex
