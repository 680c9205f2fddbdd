#!/usr/bin/env python3
"""A local demo site on the loopback: a video page for each of the twelve
sites, shaped as that site serves it, and small video files under the hosts
the resolved links name. Prints the host map on its first line, then serves
until it is stopped (or for at most an hour).

    demo_site.py            serve
    demo_site.py --list     print the demo page addresses, one a line"""
import http.server
import socketserver
import sys
import threading

VIDEO = bytes((i * 7) % 256 for i in range(3 * 1024 * 1024))  # 3 MB, enough to watch the bar move
SMALL_VIDEO = VIDEO[:512 * 1024]

PERMALINK_BOX = b'readonly="readonly" type="text" class="permalink_input" value="'

# Page address -> page text. The served path is the address after its host.
SITE_PAGES = {
    "http://video.google.com/videoplay?docid=demo":
        b'<html><body><h1>Demo video</h1>'
        b'<a href="http://video.google.com/files/demo-google.flv" class="ipoddownloadlink">'
        b'Download for iPod</a></body></html>',
    "http://www.youtube.com/watch?v=demo42":
        b'<html><body><script>var swfArgs = "video_id=demo42&l=30&t=demo";</script></body></html>',
    # Forum code linking the preview image back to the page; the movie sits
    # beside the image.
    "http://www.bolt.com/video/demo":
        b'<html><body><input type="text" Value="[url=http://www.bolt.com/video/demo][IMG]'
        b'http://images.bolt.com/image/demo-bolt_thumb.jpg[/IMG][/url]" /></body></html>',
    # The link comes from the identifier in the address alone.
    "http://vids.myspace.com/index.cfm?fuseaction=vids.individual&videoid=2007123":
        b'<html><body><h1>MySpace Videos</h1></body></html>',
    "http://www.angryalien.com/demo/bunnies.asp":
        b'<html><body><embed src="http://www.angryalien.com/demo/bunnies.flv" quality="high" width="550">'
        b'</body></html>',
    "http://www.thatvideosite.com/video/demo":
        b"<html><body><embed src='http://www.thatvideosite.com/files/demo-tvs.flv' width='425'></body></html>",
    "http://www.ifilm.com/video/demo":
        b'<html><script>var player = { *id* : *demo*, *url* : *http://www.ifilm.com/flvs/demo-ifilm.flv*,'
        b' *w* : *448* };</script></html>',
    "http://www.break.com/index/demo.html":
        b"<html><script>var sGlobalFileName='Demo_Break'; var sGlobalContentID='1';\n"
        b"var sGlobalContentFilePath='2007/demo';</script></html>",
    "http://blip.tv/file/demo":
        b'<html><body><input ' + PERMALINK_BOX + b'http://blip.tv/file/get/Demo-Blip.flv" /></body></html>',
    "http://www.dailymotion.com/video/demo":
        b'<html><script>var so = new SWFObject("/flash/player.swf", "player");\n'
        b'so.addVariable("url", "http%3A%2F%2Fwww.dailymotion.com%2Fget%2F14%2Fdemo-dm");</script></html>',
    "http://www.putfile.com/demo":
        b'<html><body><param name="src" value="http://www.putfile.com/flv/demo-putfile.flv"></body></html>',
    "http://www.zippyvideos.com/demo/":
        b"<html><body><embed src=\"player.swf\" flashvars='storageId=3&userName=demo&videoId=42&"
        b"srvURL=http://www.zippyvideos.com/media' /></body></html>",
}

# Video files the resolved links of the pages above ask for (path, query aside).
SMALL_VIDEOS = {
    "/movie/demo-bolt.flv",
    "/0000020/32/17/2007123.flv",
    "/demo/bunnies.flv",
    "/files/demo-tvs.flv",
    "/flvs/demo-ifilm.flv",
    "/dnet/media/2007/demo/Demo_Break.flv",
    "/file/get/Demo-Blip.flv",
    "/get/14/demo-dm",
    "/flv/demo-putfile.flv",
    "/media/3/demo/42",
}

HOSTS = ["video.google.com", "www.youtube.com", "youtube.com", "cache.googlevideo.com",
         "www.bolt.com", "images.bolt.com", "vids.myspace.com", "content.myspace.com",
         "www.angryalien.com", "www.thatvideosite.com", "www.ifilm.com", "www.break.com", "media1.break.com",
         "blip.tv", "www.dailymotion.com", "www.putfile.com", "www.zippyvideos.com"]


def host_and_path(address):
    slash = address.index("/", len("http://"))
    return address[len("http://"):slash].lower(), address[slash:]


# Several sites use the same page paths: pages are told apart by host.
PAGES = {host_and_path(address): text for address, text in SITE_PAGES.items()}


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def body(self):
        host = self.headers.get("Host", "").split(":", 1)[0].lower()
        if (host, self.path) in PAGES:
            return PAGES[(host, self.path)], "text/html"
        path = self.path.split("?", 1)[0]
        if path in SMALL_VIDEOS:
            return SMALL_VIDEO, "video/x-flv"
        if path.startswith("/files/") or path.startswith("/get_video"):
            return VIDEO, "video/x-flv"
        return None, None

    def send(self, head_only):
        data, kind = self.body()
        if data is None:
            self.send_response(404)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        if not head_only:
            # Paced so the progress shows in the list.
            for i in range(0, len(data), 64 * 1024):
                self.wfile.write(data[i:i + 64 * 1024])
                threading.Event().wait(0.02)

    def do_GET(self):
        self.send(False)

    def do_HEAD(self):
        self.send(True)

    def log_message(self, *args):
        pass


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True


if __name__ == "__main__":
    if sys.argv[1:] == ["--list"]:
        print("\n".join(SITE_PAGES))
        sys.exit(0)
    server = Server(("127.0.0.1", 0), Handler)
    port = server.server_address[1]
    print(",".join(f"{h}=127.0.0.1:{port}" for h in HOSTS), flush=True)
    threading.Timer(3600, server.shutdown).start()
    server.serve_forever()
    sys.exit(0)
