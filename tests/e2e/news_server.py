"""A loopback HTTP server for the news test: it answers the first GET with one file, held
back for a given number of seconds (default 0), and every later one with a second file
(default the first), and logs each request. It serves a few requests at most and ends by
itself after a while."""
import http.server
import sys
import time

port_file, news_file, log_file = sys.argv[1:4]
first_delay = float(sys.argv[4]) if len(sys.argv) > 4 else 0.0
news = open(news_file, "rb").read()
later = open(sys.argv[5], "rb").read() if len(sys.argv) > 5 else news
served = 0


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def do_GET(self):
        global served
        served += 1
        with open(log_file, "a") as log:
            log.write(self.requestline + "\n")
            for name, value in self.headers.items():
                log.write(f"{name}: {value}\n")
            log.write("\n")
        if served == 1:
            time.sleep(first_delay)
        body = news if served == 1 else later
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
server.timeout = 0.5
with open(port_file + ".tmp", "w") as f:
    f.write(str(server.server_port))
import os

os.replace(port_file + ".tmp", port_file)
deadline = time.time() + 150
while served < 5 and time.time() < deadline:
    server.handle_request()
