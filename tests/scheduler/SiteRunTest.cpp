// Runs over pages of the Google Video and YouTube sites, served from the
// loopback under their own host names: page fetch, the site's resolver, the
// file's name and the download, end to end.

#include "RunFixture.h"

#include "platform/internet/Internet.h"
#include "queue/DownloadQueue.h"
#include "resolve/LinkHosts.h"

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

    Queue("http://video.google.com/videoplay?docid=77");
    Queue("http://video.google.com/videoplay2?docid=88");
    Queue("http://www.youtube.com/watch?v=abc123XYZ");

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
}

} // namespace
} // namespace tollivex::test
