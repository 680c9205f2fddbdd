// Runs over pages of the twelve sites, served from the loopback under their
// own host names: page fetch, the site's resolver, the file's name and the
// download, end to end.

#include "RunFixture.h"

#include "platform/internet/Internet.h"
#include "platform/seams/TestSeams.h"
#include "queue/DownloadQueue.h"
#include "resolve/LinkHosts.h"

#include <vector>

namespace tollivex::test {
namespace {

TEST_F(RunFixture, GoogleVideoAndYouTubePagesAreResolvedAndDownloaded)
{
    for (const char* host : {"video.google.com", "vp.video.google.com", "www.youtube.com", kGoogleVideoCacheHost})
        platform::SetHostMapping(host, server->Port());

    // Google Video: the page's download link, with its &amp; decoded.
    server->Serve("/videoplay",
                  "<html><a href=\"http://vp.video.google.com/videodownload?version=0&amp;secureurl=s1&amp;"
                  "docid=77\" class=\"ipoddownloadlink\">Download</a>"
                  "<script>var videoUrl = \"http://elsewhere/\";</script></html>");
    const std::string googleVideo = VideoBytes(7000, 'g');
    server->Serve("/videodownload", googleVideo, {{"Content-Disposition", "attachment; filename=google_clip.flv"}});
    // Google Video without the download link: the player's escaped address.
    server->Serve("/videoplay2", "<embed flashvars=\"videoUrl=http%3A%2F%2Fvp.video.google.com%2Fplayer.flv%3F"
                                 "docid%3D88\">");
    server->Serve("/player.flv", VideoBytes(2100, 'p'));
    // YouTube: the identifier from the page, fetched from the cache host.
    server->Serve("/watch", "<script>var swfArgs = \"video_id=abc123XYZ&l=120&t=OEgsToPDskK\";</script>");
    const std::string youTubeVideo = VideoBytes(9000, 'y');
    server->Serve("/get_video", youTubeVideo, {{"Content-Type", "video/flv"}});
    // YouTube: a page without it, so the identifier comes from the address, outside ASCII.
    server->Serve("/watch_popup", "<html></html>");

    Queue("http://video.google.com/videoplay?docid=77");
    Queue("http://video.google.com/videoplay2?docid=88");
    Queue("http://www.youtube.com/watch?v=abc123XYZ");
    Queue("http://www.youtube.com/watch_popup?v=caf\xc3\xa9");

    Run();

    EXPECT_EQ(ItemStatus(0), "Complete");
    EXPECT_EQ(DownloadQueue[0].FileName, "google_clip.flv");
    EXPECT_TRUE(FileHolds("google_clip.flv", googleVideo));
    bool sawDecodedQuery = false;
    for (const HttpTestRequest& request : server->Requests())
        sawDecodedQuery = sawDecodedQuery || request.target == "/videodownload?version=0&secureurl=s1&docid=77";
    EXPECT_TRUE(sawDecodedQuery);

    EXPECT_EQ(ItemStatus(1), "Complete");
    EXPECT_EQ(DownloadQueue[1].FileName, "player.flvdocid=88");
    EXPECT_TRUE(FileHolds("player.flvdocid=88", VideoBytes(2100, 'p')));

    EXPECT_EQ(ItemStatus(2), "Complete");
    EXPECT_EQ(DownloadQueue[2].FileName, "get_videovideo_id=abc123XYZ.flv");
    EXPECT_LE(DownloadQueue[2].FileName.size(), 35u);
    EXPECT_TRUE(FileHolds("get_videovideo_id=abc123XYZ.flv", youTubeVideo));
    EXPECT_EQ(DownloadQueue[2].FileSize, "8.8 KB");

    // Every request carries such bytes escaped; the name keeps them as they are.
    EXPECT_EQ(ItemStatus(3), "Complete");
    EXPECT_EQ(DownloadQueue[3].FileName, "get_videovideo_id=caf\xc3\xa9.flv");
    EXPECT_TRUE(FileHolds("get_videovideo_id=caf\xc3\xa9.flv", youTubeVideo));
    std::vector<std::string> escaped;
    for (const HttpTestRequest& request : server->Requests()) {
        if (request.target.find("caf") != std::string::npos)
            escaped.push_back(request.method + " " + request.target);
    }
    EXPECT_EQ(escaped, (std::vector<std::string>{"GET /watch_popup?v=caf%C3%A9", "HEAD /get_video?video_id=caf%C3%A9",
                                                 "GET /get_video?video_id=caf%C3%A9"}));
}

// One page of each of the other ten sites, shaped as the site wrote it, with
// the video served under the host the composed link names.
struct SitePage {
    const char* site;
    std::string pageAddress; // as queued
    std::string pagePath;    // served path of the page
    std::string page;        // the page's text
    std::string videoHost;   // host of the composed link
    std::string videoTarget; // path and query the composed link asks for
    std::size_t videoSize;
    HttpHeaders videoHeaders;
    std::string fileName; // name the run derives
    std::string sizeText; // size text the run derives
};

std::vector<SitePage> OtherSitePages()
{
    const std::string blipBox = "readonly=\"readonly\" type=\"text\" class=\"permalink_input\" value=\"";
    return {
        {"Bolt",
         "http://www.bolt.com/video/clip_4711",
         "/video/clip_4711",
         "<p>Post it on your forum:</p><input type=\"text\" Value=\"[url=http://www.bolt.com/video/clip_4711]"
         "[IMG]http://images.bolt.com/image/4711/surfing_dog_320.jpg[/IMG][/url]\" />",
         "images.bolt.com",
         "/movie/4711/surfing_dog.flv",
         3000,
         {},
         "surfing_dog.flv",
         "2.9 KB"},
        {"MySpace",
         "http://vids.myspace.com/index.cfm?fuseaction=vids.individual&videoid=1234567890",
         "/index.cfm",
         "<html><body>MySpace Videos</body></html>",
         kMySpaceContentHost,
         "/0012345/09/87/1234567890.flv",
         1536,
         {},
         "1234567890.flv",
         "1.5 KB"},
        {"AngryAlien",
         "http://www.angryalien.com/0106/titanicbunnies.asp",
         "/0106/titanicbunnies.asp",
         "<object><param name=\"movie\" value=\"titanic.swf\"><embed src=\"http://www.angryalien.com/0106/"
         "titanic.swf\" quality=\"high\" width=\"550\"></object>",
         "www.angryalien.com",
         "/0106/titanic.swf",
         900,
         {{"Content-Disposition", "attachment; filename=titanic_bunnies.swf"}},
         "titanic_bunnies.swf",
         "900 Bytes"},
        {"ThatVideoSite",
         "http://www.thatvideosite.com/video/2210",
         "/video/2210",
         "<div id='player'><embed src='http://media.thatvideosite.com/flv/2210.flv' type='application/"
         "x-shockwave-flash'></div>",
         "media.thatvideosite.com",
         "/flv/2210.flv",
         4096,
         {},
         "2210.flv",
         "4 KB"},
        {"iFilm",
         "http://www.ifilm.com/video/2705321",
         "/video/2705321",
         "<script>var player = { *id* : *2705321*, *url* : *http://download.ifilm.com/flvs/2705321.flv?"
         "bw=300$ad=none*, *w* : *448* };</script>",
         "download.ifilm.com",
         "/flvs/2705321.flv?bw=300&ad=none",
         2500,
         {},
         "2705321.flvbw=300ad=none",
         "2.4 KB"},
        {"Break",
         "http://my.break.com/content/view.aspx?ContentID=331455",
         "/content/view.aspx",
         "<script>var sGlobalFileName='Cat_Piano_331455'; var sGlobalContentID='331455';\n"
         "var sGlobalContentFilePath='2007/5/cat-piano';</script>",
         kBreakMediaHost,
         "/dnet/media/2007/5/cat-piano/Cat_Piano_331455.flv",
         5000,
         {},
         "Cat_Piano_331455.flv",
         "4.9 KB"},
        {"Blip",
         "http://blip.tv/file/198804",
         "/file/198804",
         "<label>Permalink</label><input " + blipBox +
             "http://blip.tv/file/get/Ninja-Episode198804.flv\" "
             "onclick=\"this.select()\">",
         "blip.tv",
         "/file/get/Ninja-Episode198804.flv",
         1000,
         {},
         "Ninja-Episode198804.flv",
         "1000 Bytes"},
        {"DailyMotion",
         "http://www.dailymotion.com/video/x1abcd_skate",
         "/video/x1abcd_skate",
         "<script>var so = new SWFObject(\"/flash/player.swf\", \"video_player\");\n"
         "so.addVariable(\"url\", \"http%3A%2F%2Fwww.dailymotion.com%2Fget%2F14%2F320x240%2Fflv%2F2299.flv"
         "%3Fkey%3Dd41d8\");</script>",
         "www.dailymotion.com",
         "/get/14/320x240/flv/2299.flv?key=d41d8",
         2048,
         {},
         "2299.flvkey=d41d8.flv",
         "2 KB"},
        {"PutFile",
         "http://media.putfile.com/Beach-Day-64",
         "/Beach-Day-64",
         "<a href=\"http://www.putfile.com/\">Home</a> <param name=\"src\" value=\"http://"
         "vf.putfile.com/flv/beach-day-64.flv\">",
         "vf.putfile.com",
         "/flv/beach-day-64.flv",
         1258291,
         {},
         "beach-day-64.flv",
         "1.2 MB"},
        {"ZippyVideos",
         "http://www.zippyvideos.com/5522334455/ride/",
         "/5522334455/ride/",
         "<embed src=\"zippyplayer.swf\" flashvars='storageId=21&userName=rider&videoId=5522334455&srvURL="
         "http://srv4.zippyvideos.com/media' />",
         "srv4.zippyvideos.com",
         "/media/21/rider/5522334455",
         3333,
         {},
         "5522334455.flv",
         "3.3 KB"},
    };
}

TEST_F(RunFixture, EachOtherSitesPageIsResolvedAndItsVideoDownloaded)
{
    const std::vector<SitePage> sites = OtherSitePages();
    std::vector<std::string> videos;
    for (size_t i = 0; i < sites.size(); ++i) {
        const SitePage& site = sites[i];
        const std::string pageHost = site.pageAddress.substr(7, site.pageAddress.find('/', 7) - 7);
        platform::SetHostMapping(pageHost, server->Port());
        platform::SetHostMapping(site.videoHost, server->Port());
        server->Serve(site.pagePath, site.page, {{"Content-Type", "text/html"}});
        videos.push_back(VideoBytes(site.videoSize, static_cast<char>('a' + i)));
        HttpHeaders headers = site.videoHeaders;
        headers.emplace_back("Content-Type", "video/x-flv");
        server->Serve(site.videoTarget.substr(0, site.videoTarget.find('?')), videos.back(), headers);
        Queue(site.pageAddress);
    }
    ASSERT_EQ(DownloadQueue.size(), sites.size());

    Run();

    const std::vector<HttpTestRequest> requests = server->Requests();
    for (size_t i = 0; i < sites.size(); ++i) {
        const SitePage& site = sites[i];
        SCOPED_TRACE(site.site);
        EXPECT_EQ(ItemStatus(static_cast<int>(i)), "Complete");
        EXPECT_EQ(DownloadQueue[i].FileName, site.fileName);
        EXPECT_EQ(DownloadQueue[i].FileSize, site.sizeText);
        EXPECT_TRUE(FileHolds(site.fileName, videos[i]));
        // The composed link went to its own host: the information request, then the transfer.
        std::vector<std::string> methods;
        for (const HttpTestRequest& request : requests) {
            if (request.target == site.videoTarget && request.Header("Host") == site.videoHost)
                methods.push_back(request.method);
        }
        EXPECT_EQ(methods, (std::vector<std::string>{"HEAD", "GET"}));
    }
}

} // namespace
} // namespace tollivex::test
