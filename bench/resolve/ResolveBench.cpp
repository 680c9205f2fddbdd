// Every resolver on a large page whose markers stand near its end, so each
// search runs over (nearly) the whole page. Sizes 1 MB and 5 MB show the time
// growing with the page, not faster.

#include "resolve/SiteCode.h"
#include "resolve/VideoLinks.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>
#include <string>

namespace {

using namespace tollivex;

struct Site {
    const char* name;
    int code;
    std::string address;
    std::string tail; // the part of the page that holds the link
};

const Site kSites[] = {
    {"GoogleVideo", siteGoogleVideo, "http://video.google.com/videoplay?docid=1",
     "<a href=\"http://vp.video.google.com/videodownload?a=1&amp;b=2\" id=\"ipoddownloadlink\">"},
    {"YouTube", siteYouTube, "http://www.youtube.com/watch", "<script>var a=\"x%26v%3DQwErTy\";</script>"},
    {"Bolt", siteBolt, "http://www.bolt.com/video/12345",
     "<input Value=\"[url=http://www.bolt.com/video/12345][IMG]http://i.bolt.com/image/abc_s.jpg[/IMG]\">"},
    {"MySpace", siteMySpace, "http://vids.myspace.com/index.cfm?videoid=1234567890", "</html>"},
    {"AngryAlien", siteAngryAlien, "http://www.angryalien.com/a", "<embed src=\"http://a.com/b.swf\">"},
    {"ThatVideoSite", siteThatVideoSite, "http://www.thatvideosite.com/a", "<embed src='http://a.com/b.swf'>"},
    {"IFilm", siteIFilm, "http://www.ifilm.com/a", "'*url* : *http://v.ifilm.com/f/1.flv?a=1$b=2*, *t*'"},
    {"Break", siteBreak, "http://www.break.com/a", "sGlobalFileName='clip';sGlobalContentFilePath='2007/1';"},
    {"Blip", siteBlip, "http://blip.tv/file/1",
     "<input readonly=\"readonly\" type=\"text\" class=\"permalink_input\" value=\"http://blip.tv/file/1\">"},
    {"DailyMotion", siteDailyMotion, "http://www.dailymotion.com/a",
     "addVariable(\"url\", \"http%3A%2F%2Fwww.dailymotion.com%2Fget%2F1.flv\");"},
    {"PutFile", sitePutFile, "http://www.putfile.com/a", "<embed src=\"http://media.putfile.com/b.flv\">"},
    {"ZippyVideos", siteZippyVideos, "http://www.zippyvideos.com/a",
     "'storageId=7&userName=bob&videoId=99&srvURL=http://s1.zippyvideos.com'"},
};

// Ordinary markup full of the characters the resolvers stop at (quotes,
// ampersands, "http", "href=") but none of their markers.
std::string Filler(size_t bytes)
{
    const std::string line = "<tr><td class=\"row\"><a href=\"http://example.com/page?id=42&amp;sort=Up\">"
                             "Related item</a> &nbsp; <img src='http://img.example.com/t_1.jpg'></td></tr>\n";
    std::string page;
    page.reserve(bytes + line.size());
    while (page.size() < bytes)
        page += line;
    page.resize(bytes);
    return page;
}

void ResolveLargePage(benchmark::State& state, const Site& site)
{
    const std::string page = Filler(static_cast<size_t>(state.range(0))) + site.tail + "\n</body></html>";
    const PageResolver resolve = ResolverFor(site.code);
    std::string link = resolve(site.address, page);
    if (link.empty()) {
        state.SkipWithError("the bench page yields no link");
        return;
    }
    for (auto _ : state) {
        link = resolve(site.address, page);
        benchmark::DoNotOptimize(link);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
    state.SetComplexityN(state.range(0));
}

// Near-misses of a long marker side by side: a naive search would compare
// most of the marker at every position.
void BoltNearMisses(benchmark::State& state)
{
    const std::string address = "http://www.bolt.com/video/" + std::string(2000, '1');
    const std::string nearMiss = "Value=\"[url=http://www.bolt.com/video/" + std::string(1999, '1') + "2";
    std::string page;
    while (page.size() < static_cast<size_t>(state.range(0)))
        page += nearMiss;
    page += "Value=\"[url=" + address + "][IMG]http://i/image/a.jpg[/IMG]";
    for (auto _ : state) {
        std::string link = GetBoltLink(address, page);
        benchmark::DoNotOptimize(link);
    }
    state.SetComplexityN(state.range(0));
}

} // namespace

int main(int argc, char** argv)
{
    for (const Site& site : kSites) {
        benchmark::RegisterBenchmark((std::string("Resolve/") + site.name).c_str(), ResolveLargePage, site)
            ->Arg(1 << 20)
            ->Arg(5 << 20)
            ->Unit(benchmark::kMillisecond)
            ->Complexity(benchmark::oN);
    }
    benchmark::RegisterBenchmark("Resolve/BoltNearMisses", BoltNearMisses)
        ->Arg(1 << 20)
        ->Arg(5 << 20)
        ->Unit(benchmark::kMillisecond)
        ->Complexity(benchmark::oN);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
