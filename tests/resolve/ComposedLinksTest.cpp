#include "ResolverCases.h"

#include "resolve/LinkHosts.h"

#include <string>

namespace tollivex {
namespace {

using test::ExpectResolves;

TEST(BoltLink, PreviewImageOfThePageTurnedIntoTheMovie)
{
    const std::string address = "http://www.bolt.com/video/12345";
    const std::string snippet = "<input Value=\"[url=" + address + "][IMG]";
    ExpectResolves(
        GetBoltLink,
        {
            {"image loses its last _ and what follows", address,
             snippet + "http://img.bolt.com/image/abc_def_small.jpg[/IMG][/url]\">",
             "http://img.bolt.com/movie/abc_def.flv"},
            {"image without _ loses its extension", address, snippet + "http://img.bolt.com/image/abc.jpg[/IMG]",
             "http://img.bolt.com/movie/abc.flv"},
            {"image without _ or . kept whole", address, snippet + "http://localhost/image/abc[/IMG]",
             "http://localhost/movie/abc.flv"},
            {"flv already there is not doubled", address, snippet + "http://i/image/clip.flv_thumb.jpg[/IMG]",
             "http://i/movie/clip.flv"},
            {"FLV in capitals is not doubled either", address, snippet + "http://i/image/a.FLV_t.jpg[/IMG]",
             "http://i/movie/a.FLV"},
            {"every /image/ in any case", address, snippet + "http://i/IMAGE/x/Image/y.jpg[/IMG]",
             "http://i/movie/x/movie/y.flv"},
            {"page shows the address in other case", address,
             "<input value=\"[URL=HTTP://WWW.BOLT.COM/VIDEO/12345][img]http://i/image/a.jpg[/img]",
             "http://i/movie/a.flv"},
            {"first snippet counts", address,
             snippet + "http://i/image/1.jpg[/IMG]" + snippet + "http://i/image/2.jpg[/IMG]", "http://i/movie/1.flv"},
            {"page shows another address", address,
             "<input Value=\"[url=http://www.bolt.com/video/999][IMG]http://i/image/a.jpg[/IMG]", ""},
            {"address with a trailing slash is another address", address + "/", snippet + "http://i/image/a.jpg[/IMG]",
             ""},
            {"no [/IMG]", address, snippet + "http://i/image/a.jpg", ""},
            {"[/IMG] only before the snippet", address, "[/IMG]" + snippet + "http://i/image/a.jpg", ""},
            {"nothing left once the tail is cut", address, snippet + "_small.jpg[/IMG]", ""},
            {"empty image", address, snippet + "[/IMG]", ""},
        });
}

TEST(MySpaceLink, ContentPathFromTheVideoIdentifier)
{
    const std::string host = std::string("http://") + kMySpaceContentHost;
    const std::string base = "http://vids.myspace.com/index.cfm?fuseaction=vids.individual&videoid=";
    const std::string page = "<html>not consulted</html>";
    ExpectResolves(
        GetMySpaceLink,
        {
            {"ten characters", base + "1234567890", page, host + "/0012345/09/87/1234567890.flv"},
            {"five characters: seven zeros", base + "12345", page, host + "/0000000/54/32/12345.flv"},
            {"four characters", base + "1234", page, ""},
            {"thirteen characters: never shortened", base + "1234567890123", page,
             host + "/12345678/32/10/1234567890123.flv"},
            {"further parameters are carried along", base + "12345&type=video", page,
             host + "/12345&type=/oe/di/12345&type=video.flv"},
            {"VideoID in capitals", "http://vids.myspace.com/?VideoID=1234567890", page,
             host + "/0012345/09/87/1234567890.flv"},
            {"first videoid counts", base + "98765videoid=1", page, host + "/98765vide/1=/di/98765videoid=1.flv"},
            {"no videoid", "http://vids.myspace.com/index.cfm?id=1234567890", page, ""},
            {"empty page", base + "1234567890", "", ""},
            {"characters, not bytes", base + "\u00e91234\u00fc", page,
             host + "/000000\u00e9/\u00fc4/32/\u00e91234\u00fc.flv"},
            {"four characters of two bytes each", base + "\u00e9\u00e9\u00e9\u00e9", page, ""},
        });
}

TEST(BreakLink, MediaPathAndFileNameAfterIt)
{
    const std::string host = std::string("http://") + kBreakMediaHost + "/dnet/media/";
    const std::string address = "http://www.break.com/index/clip.html";
    ExpectResolves(
        GetBreakLink,
        {
            {"name then path", address, "var sGlobalFileName='MyClip_123';\nvar sGlobalContentFilePath='2007/1/15';",
             host + "2007/1/15/MyClip_123.flv"},
            {"markers in capitals", address, "SGLOBALFILENAME='N';SGLOBALCONTENTFILEPATH='P';", host + "P/N.flv"},
            {"the name's first character is never its end", address, "sGlobalFileName=''ab';sGlobalContentFilePath='p'",
             host + "p/'ab.flv"},
            {"path only before the name", address, "sGlobalContentFilePath='old';sGlobalFileName='N';", ""},
            {"path after the name wins over one before", address,
             "sGlobalContentFilePath='old';sGlobalFileName='N';sGlobalContentFilePath='new';", host + "new/N.flv"},
            {"first name counts", address, "sGlobalFileName='A';sGlobalFileName='B';sGlobalContentFilePath='P';",
             host + "P/A.flv"},
            {"no name", address, "sGlobalContentFilePath='P';", ""},
            {"name unterminated", address, "sGlobalFileName='N", ""},
            {"no path", address, "sGlobalFileName='N';", ""},
            {"path unterminated", address, "sGlobalFileName='N';sGlobalContentFilePath='P", ""},
            {"empty path", address, "sGlobalFileName='N';sGlobalContentFilePath='';", ""},
        });
}

TEST(ZippyVideosLink, ServerStorageUserVideo)
{
    const std::string address = "http://www.zippyvideos.com/1234/";
    ExpectResolves(
        GetZippyVideosLink,
        {
            {"all four", address,
             "so.addParam('flashvars','storageId=7&userName=bob&videoId=99&srvURL=http://s1.zippyvideos.com');",
             "http://s1.zippyvideos.com/7/bob/99"},
            {"any order, capitals", address, "SRVURL=http://s/x' VIDEOID=v& USERNAME=u& STORAGEID=s&",
             "http://s/x/s/u/v"},
            {"server without a scheme stays as it is", address, "storageId=7&userName=b&videoId=9&srvURL=s1.zippy';",
             "s1.zippy/7/b/9"},
            {"first of each counts", address, "storageId=1&storageId=2&userName=u&videoId=v&srvURL=h'", "h/1/u/v"},
            {"no storageId", address, "userName=b&videoId=9&srvURL=h'", ""},
            {"no userName", address, "storageId=7&videoId=9&srvURL=h'", ""},
            {"no videoId", address, "storageId=7&userName=b&srvURL=h'", ""},
            {"no srvURL", address, "storageId=7&userName=b&videoId=9&'", ""},
            {"no & after videoId", address, "srvURL=h' storageId=7&userName=b&videoId=9", ""},
            {"no apostrophe after srvURL", address, "storageId=7&userName=b&videoId=9&srvURL=h", ""},
            {"empty user", address, "storageId=7&userName=&videoId=9&srvURL=h'", ""},
        });
}

} // namespace
} // namespace tollivex
