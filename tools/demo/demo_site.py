#!/usr/bin/env python3
"""A local demo site on the loopback: video pages shaped as Google Video and
YouTube serve them, and small video files. Prints the host map on its first
line, then serves until it is stopped (or for at most an hour)."""
import http.server
import socketserver
import sys
import threading

VIDEO = bytes((i * 7) % 256 for i in range(3 * 1024 * 1024))  # 3 MB, enough to watch the bar move
PAGES = {
    "/videoplay?docid=demo": b'<html><body><h1>Demo video</h1>'
                             b'<a href="http://video.google.com/files/demo-google.flv" class="ipoddownloadlink">'
                             b'Download for iPod</a></body></html>',
    "/watch?v=demo42": b'<html><body><script>var swfArgs = "video_id=demo42&l=30&t=demo";</script>'
                       b'</body></html>',
}


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def body(self):
        if self.path in PAGES:
            return PAGES[self.path], "text/html"
        if self.path.startswith("/files/") or self.path.startswith("/get_video"):
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


server = Server(("127.0.0.1", 0), Handler)
port = server.server_address[1]
hosts = ["video.google.com", "www.youtube.com", "youtube.com", "cache.googlevideo.com"]
print(",".join(f"{h}=127.0.0.1:{port}" for h in hosts), flush=True)
threading.Timer(3600, server.shutdown).start()
server.serve_forever()
sys.exit(0)
