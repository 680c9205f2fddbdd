#include "ResolverCases.h"

#include "resolve/LinkHosts.h"

#include <string>

namespace tollivex {
namespace {

using test::ExpectResolves;

const std::string kGoogleAddress = "http://video.google.com/videoplay?docid=-123";

TEST(GoogleVideoLink, DownloadLinkHrefThenPlayerAddress)
{
    const std::string href = "<a href=\"http://vp.video.google.com/videodownload?version=0&amp;secureurl=abc"
                             "&AMP;sigh=xyz\" id=\"ipoddownloadlink\">iPod</a>";
    const std::string hrefLink = "http://vp.video.google.com/videodownload?version=0&secureurl=abc&sigh=xyz";
    const std::string player = "<embed flashvars=\"videoUrl=http%3A%2F%2Fvp.google.com%2Fx.flv%3Fa%3D1&amp;b=2\">";
    ExpectResolves(
        GetGoogleVideoLink,
        {
            {"href with &amp; in either case", kGoogleAddress, href, hrefLink},
            {"href wins over videoUrl", kGoogleAddress, player + href, hrefLink},
            {"href wins though videoUrl stands after", kGoogleAddress, href + player, hrefLink},
            {"last href before the marker", kGoogleAddress,
             "<a href=\"http://a/first\">x</a><a href=\"http://b/second\" class=\"IPODDOWNLOADLINK\">"
             "<a href=\"http://c/after\">",
             "http://b/second"},
            {"first marker counts", kGoogleAddress,
             "<a href=\"http://a/one\" ipoddownloadlink><a href=\"http://b/two\" ipoddownloadlink>", "http://a/one"},
            {"value starts six after href=, whatever stands there", kGoogleAddress,
             "<a href='http://a/b\" ipoddownloadlink", "http://a/b"},
            {"an href only after the marker", kGoogleAddress, "ipoddownloadlink <a href=\"http://a/b\">", ""},
            {"no closing quote", kGoogleAddress, "<a href=\"http://a/b ipoddownloadlink", ""},
            {"videoUrl decoded, &amp; kept", kGoogleAddress, player, "http://vp.google.com/x.flv?a=1&amp;b=2"},
            {"videoUrl in capitals, other text before http", kGoogleAddress,
             "VIDEOURL: player.swf?src=HTTP://x/v.flv\" more", "HTTP://x/v.flv"},
            {"first videoUrl counts", kGoogleAddress, "videoUrl=\"http://a/1.flv\" videoUrl=\"http://b/2.flv\"",
             "http://a/1.flv"},
            {"http before videoUrl is not taken", kGoogleAddress, "\"http://a/x.flv\" videoUrl=none", ""},
            {"videoUrl with no closing quote", kGoogleAddress, "videoUrl=http://a/x.flv", ""},
            {"videoUrl decoding to a line break", kGoogleAddress, "videoUrl=http://a/x.flv%0D%0AHost: b\"", ""},
            {"videoUrl decoding to 1023 characters", kGoogleAddress,
             "videoUrl=http://a/" + std::string(1013, 'x') + "%2E\"", "http://a/" + std::string(1013, 'x') + "."},
            {"videoUrl decoding to 1024 characters", kGoogleAddress,
             "videoUrl=http://a/" + std::string(1014, 'x') + "%2E\"", ""},
            {"neither marker", kGoogleAddress, "<html><a href=\"http://a/b\">video</a></html>", ""},
            {"empty page", kGoogleAddress, "", ""},
        });
}

TEST(YouTubeLink, IdentifierFromPageThenAddressThenEscapedForm)
{
    const std::string get = std::string("http://") + kGoogleVideoCacheHost + "/get_video?video_id=";
    const std::string watch = "http://www.youtube.com/watch?v=AddrId";
    const std::string bare = "http://www.youtube.com/watch";
    ExpectResolves(
        GetYouTubeLink,
        {
            {"video_id in the page", watch, "swfArgs = {video_id=PageId&l=139&t=OEgsToPDskJ}", get + "PageId"},
            {"VIDEO_ID in capitals, identifier kept as written", bare, "VIDEO_ID=AbC-_9&t=1", get + "AbC-_9"},
            {"first video_id counts", bare, "video_id=one&x video_id=two&y", get + "one"},
            {"video_id unterminated: the address is not tried", watch, "video_id=PageId", ""},
            {"video_id empty", watch, "video_id=&t=1", ""},
            {"address v= to the end", watch, "<html>no identifier here</html>", get + "AddrId"},
            {"address v= up to &", "http://youtube.com/watch?v=abc&feature=related", "x", get + "abc"},
            {"address V= in capitals", "http://YOUTUBE.COM/watch?V=ABC", "x", get + "ABC"},
            {"first v= anywhere, inside a longer name too", "http://youtube.com/watch?dev=1&v=abc", "x", get + "1"},
            {"address v= empty: no fallback to the page", "http://youtube.com/watch?v=", "a%26v%3DEsc\"", ""},
            {"escaped form in the page", bare, "\"fullscreen\": \"/watch_fullscreen?a%3D1%26v%3DQwErTy\"",
             get + "QwErTy"},
            {"escaped form in other case", bare, "x%26V%3dLower\" y", get + "Lower"},
            {"escaped form unterminated", bare, "x%26v%3DQwErTy", ""},
            {"no identifier anywhere", bare, "<html></html>", ""},
            {"empty page though the address has v=", watch, "", ""},
            {"space in the identifier is kept", bare, "video_id=ab c&", get + "ab c"},
            {"line break in the identifier", bare, "video_id=ab\r\nHost: x&", ""},
        });
}

} // namespace
} // namespace tollivex
