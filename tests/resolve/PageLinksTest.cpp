#include "ResolverCases.h"

#include <string>

namespace tollivex {
namespace {

using test::ExpectResolves;

const std::string kAnyAddress = "http://www.example.com/video/1";

TEST(AngryAlienLink, DoubleQuotedEmbedSourceWhenAbsolute)
{
    ExpectResolves(
        GetAngryAlienLink,
        {
            {"embed source", kAnyAddress, "<embed src=\"http://www.angryalien.com/0204/bunny.swf\" quality=high>",
             "http://www.angryalien.com/0204/bunny.swf"},
            {"capitals in marker and value", kAnyAddress, "<EMBED SRC=\"HTTP://A/B.SWF\">", "HTTP://A/B.SWF"},
            {"first embed counts", kAnyAddress, "<embed src=\"http://a/1.swf\"><embed src=\"http://b/2.swf\">",
             "http://a/1.swf"},
            {"http anywhere in the value", kAnyAddress, "<embed src=\"player.swf?u=Http://a/b\">",
             "player.swf?u=Http://a/b"},
            {"relative source", kAnyAddress, "<embed src=\"/0204/bunny.swf\">", ""},
            {"apostrophe instead of quote", kAnyAddress, "<embed src='http://a/b.swf'>", ""},
            {"space before the quote", kAnyAddress, "<embed src= \"http://a/b.swf\">", ""},
            {"no closing quote", kAnyAddress, "<embed src=\"http://a/b.swf>", ""},
            {"empty source", kAnyAddress, "<embed src=\"\" x=\"http\">", ""},
            {"no embed", kAnyAddress, "<object data=\"http://a/b.swf\">", ""},
        });
}

TEST(ThatVideoSiteLink, ApostropheQuotedEmbedSourceWhenAbsolute)
{
    ExpectResolves(GetThatVideoSiteLink,
                   {
                       {"embed source", kAnyAddress, "<embed src='http://www.thatvideosite.com/v/abc.swf' width=400>",
                        "http://www.thatvideosite.com/v/abc.swf"},
                       {"capitals in marker", kAnyAddress, "<Embed Src='http://a/b.swf'>", "http://a/b.swf"},
                       {"first embed counts", kAnyAddress, "<embed src='http://a/1.swf'><embed src='http://b/2.swf'>",
                        "http://a/1.swf"},
                       {"relative source", kAnyAddress, "<embed src='v/abc.swf'>", ""},
                       {"double quote instead of apostrophe", kAnyAddress, "<embed src=\"http://a/b.swf\">", ""},
                       {"no closing apostrophe", kAnyAddress, "<embed src='http://a/b.swf>", ""},
                       {"no embed", kAnyAddress, "<html></html>", ""},
                   });
}

TEST(IFilmLink, UrlSettingWithDollarsMadeAmpersands)
{
    ExpectResolves(
        GetIFilmLink,
        {
            {"url setting", kAnyAddress,
             "so.addVariable('x', '*url* : *http://v.ifilm.com/f/265.flv?a=1$b=2*, *t* : *x*')",
             "http://v.ifilm.com/f/265.flv?a=1&b=2"},
            {"only $ is changed", kAnyAddress, "*url* : *http://a/b?c=%24&amp;d$e*,", "http://a/b?c=%24&amp;d&e"},
            {"capitals kept from the page", kAnyAddress, "*URL* : *HTTP://A/B.FLV*,", "HTTP://A/B.FLV"},
            {"first setting counts", kAnyAddress, "*url* : *http://a/1*, *url* : *http://b/2*,", "http://a/1"},
            {"no closing *,", kAnyAddress, "*url* : *http://a/b.flv*", ""},
            {"other spacing", kAnyAddress, "*url*: *http://a/b.flv*,", ""},
            {"no setting", kAnyAddress, "<html></html>", ""},
        });
}

TEST(BlipLink, PermalinkBoxValueUndecoded)
{
    const std::string box = "<input readonly=\"readonly\" type=\"text\" class=\"permalink_input\" value=\"";
    const std::string boxCaps = "<INPUT READONLY=\"READONLY\" TYPE=\"TEXT\" CLASS=\"PERMALINK_INPUT\" VALUE=\"";
    ExpectResolves(
        GetBlipLink,
        {
            {"permalink", kAnyAddress, box + "http://blip.tv/file/12345\" />", "http://blip.tv/file/12345"},
            {"no decoding", kAnyAddress, box + "http://blip.tv/file/a%20b%3F\" />", "http://blip.tv/file/a%20b%3F"},
            {"marker in capitals", kAnyAddress, boxCaps + "http://blip.tv/file/1\">", "http://blip.tv/file/1"},
            {"first box counts", kAnyAddress, box + "http://a/1\">" + box + "http://b/2\">", "http://a/1"},
            {"closing quote looked for from the tenth character", kAnyAddress, box + "abc\"defghi\"", "abc\"defghi"},
            {"no closing quote", kAnyAddress, box + "http://blip.tv/file/12345", ""},
            {"other attribute order", kAnyAddress,
             "<input type=\"text\" readonly=\"readonly\" class=\"permalink_input\" value=\"http://a/b\">", ""},
        });
}

TEST(DailyMotionLink, PlayerUrlParameterDecoded)
{
    const std::string longValue = "http://a/" + std::string(1015, 'x');
    ExpectResolves(
        GetDailyMotionLink,
        {
            {"decoded value", kAnyAddress,
             "so.addVariable(\"url\", \"http%3A%2F%2Fwww.dailymotion.com%2Fget%2F14%2Fflv%2F1234.flv%3Fkey%3Dabc\");",
             "http://www.dailymotion.com/get/14/flv/1234.flv?key=abc"},
            {"separator and opening quote skipped whatever they are", kAnyAddress,
             "addVariable(\"url\",X'http://a/b.flv\"", "http://a/b.flv"},
            {"marker in capitals", kAnyAddress, "ADDVARIABLE(\"URL\", \"http://a/b.flv\"", "http://a/b.flv"},
            {"plus stays plus", kAnyAddress, "addVariable(\"url\", \"http://a/b+c%2Bd\"", "http://a/b+c+d"},
            {"decoded space stays a space", kAnyAddress, "addVariable(\"url\", \"http://a/b%20c\"", "http://a/b c"},
            {"first parameter counts", kAnyAddress,
             "addVariable(\"url\", \"http://a/1\") addVariable(\"url\", \"http://b/2\")", "http://a/1"},
            {"decoded form of 1023 characters", kAnyAddress,
             "addVariable(\"url\", \"" + longValue.substr(0, 1023) + "\"", longValue.substr(0, 1023)},
            {"decoded form of 1024 characters", kAnyAddress,
             "addVariable(\"url\", \"" + longValue.substr(0, 1024) + "\"", ""},
            {"decoded line feed", kAnyAddress, "addVariable(\"url\", \"http://a/b%0Ac\"", ""},
            {"no closing quote", kAnyAddress, "addVariable(\"url\", \"http://a/b.flv", ""},
            {"page ends inside the skipped characters", kAnyAddress, "addVariable(\"url\", ", ""},
            {"other parameter", kAnyAddress, "addVariable(\"video\", \"http://a/b.flv\"", ""},
        });
}

TEST(PutFileLink, FirstFlvElseWmvBackToItsHttp)
{
    ExpectResolves(
        GetPutFileLink,
        {
            {"flv link", kAnyAddress, "<param value=\"http://media.putfile.com/flv/abc.flv\">",
             "http://media.putfile.com/flv/abc.flv"},
            {"flv wins over an earlier wmv link", kAnyAddress,
             "<a href=\"http://x/a.wmv\">w</a> <embed src=\"http://y/b.flv\">", "http://y/b.flv"},
            {"flv in plain text after a wmv link", kAnyAddress, "http://x/a.wmv plays .flv",
             "http://x/a.wmv plays .flv"},
            {"wmv only when no flv", kAnyAddress, "<a href=\"http://x/a.wmv\">", "http://x/a.wmv"},
            {"last http before the extension", kAnyAddress, "http://a/ and http://b/c.flv", "http://b/c.flv"},
            {"first flv counts", kAnyAddress, "http://a/1.flv http://b/2.flv", "http://a/1.flv"},
            {"capitals kept", kAnyAddress, "HTTP://A/B.FLV", "HTTP://A/B.FLV"},
            {"http right before the extension", kAnyAddress, "http.flv", "http.flv"},
            {"too short for an http before the extension", kAnyAddress, "htt.flv http", ""},
            {"no http before the first flv", kAnyAddress, "abcdef.flv http://b/c.flv", ""},
            {"extension at the page start", kAnyAddress, ".flv", ""},
            {"neither extension", kAnyAddress, "http://a/b.mp4", ""},
        });
}

} // namespace
} // namespace tollivex
