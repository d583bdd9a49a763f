#!/usr/bin/env python3
"""A bulb server: lumarel sends the bulbs its users make to one of these.

It serves the page /bulbsend.htm, which tells lumarel where to upload
("uploadlocation: <path>") and may carry a message for the user
("servermessage: <text>"), and it takes the multipart upload of a bulb file
at that path, storing the file under a name of its own making. Only the
Python 3 standard library is needed.

    tools/bulb_server.py --store bulbs/ --port 8123
    tools/bulb_server.py --port 0 --port-file port.txt --store /tmp/in

Then point lumarel at it with the registry value "Bulb Server" (REG_SZ) in
HKCU\\Software\\Quorvane\\Lumarel, for example "myhost:8123".

Switches meant for tests: --record DIR keeps every raw request as
request-N.bin; --no-upload-location leaves the marker out of the page;
--padding N puts N bytes before the markers; --message-unclosed
puts the message last, without its closing '>'; --upload-status N answers the
upload with that status; --stop-reading N stops reading a connection after N
bytes (it is held open, unread, until the client gives up).
"""
import argparse
import itertools
import os
import re
import socket
import socketserver
import sys
import threading
import time

BULB_MAGIC = b"bluBrouQ"
UPLOAD_PATH = "/bulbs/upload"
REASONS = {200: "OK", 400: "Bad Request", 404: "Not Found", 500: "Internal Server Error"}
MAX_HEADER = 64 * 1024
MAX_BODY = 64 * 1024 * 1024


class Request:
    def __init__(self, raw, line, headers, body):
        self.raw, self.line, self.headers, self.body = raw, line, headers, body


class Stopped(Exception):
    """The test switch --stop-reading held the connection."""


class BulbHandler(socketserver.BaseRequestHandler):
    def setup(self):
        self.received = b""
        self.request.settimeout(60)

    def read_more(self):
        limit = self.server.options.stop_reading
        if limit is not None and len(self.received) >= limit:
            raise Stopped()
        want = 65536 if limit is None else max(1, min(65536, limit - len(self.received)))
        data = self.request.recv(want)
        if not data:
            raise ConnectionError("closed early")
        self.received += data

    def read_request(self):
        while b"\r\n\r\n" not in self.received:
            if len(self.received) > MAX_HEADER:
                raise ConnectionError("headers too long")
            self.read_more()
        head, _, rest = self.received.partition(b"\r\n\r\n")
        lines = head.decode("latin-1").split("\r\n")
        headers = {}
        for line in lines[1:]:
            name, _, value = line.partition(":")
            headers[name.strip().lower()] = value.strip()
        length = int(headers.get("content-length", "0") or 0)
        if length < 0 or length > MAX_BODY:
            raise ConnectionError("bad length")
        header_size = len(head) + 4
        # Exactly Content-length bytes: more would wait for data that never comes.
        while len(self.received) < header_size + length:
            self.read_more()
        body = self.received[header_size:header_size + length]
        return Request(self.received, lines[0], headers, body)

    def handle(self):
        try:
            request = self.read_request()
        except Stopped:
            self.hold()
            return
        except (ConnectionError, OSError, ValueError):
            self.server.record(self.received)
            return
        self.server.record(request.raw)
        parts = request.line.split(" ")
        method, path = (parts + ["", ""])[:2]
        if method == "GET" and path == "/bulbsend.htm":
            self.answer(200, self.server.page(), "text/html")
        elif method == "POST" and path == self.server.options.upload_path:
            self.answer(*self.server.take_upload(request))
        else:
            self.answer(404, "Not here.\r\n", "text/plain")

    def hold(self):
        # Keeps the connection open without reading, until the client closes
        # it or the server stops.
        self.server.record(self.received)
        self.request.settimeout(0.2)
        while not self.server.stopping.is_set():
            try:
                if not self.request.recv(1, socket.MSG_PEEK):
                    return
            except socket.timeout:
                continue
            except OSError:
                return
            time.sleep(0.2)

    def answer(self, status, text, kind="text/plain"):
        body = text.encode("latin-1")
        head = "HTTP/1.0 %d %s\r\nContent-Type: %s\r\nContent-Length: %d\r\n\r\n" % (
            status, REASONS.get(status, "Status"), kind, len(body))
        try:
            self.request.sendall(head.encode("latin-1") + body)
        except OSError:
            pass


class BulbServer(socketserver.ThreadingMixIn, socketserver.TCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, options):
        self.options = options
        self.requests = itertools.count(1)
        self.bulbs = itertools.count(1)
        self.lock = threading.Lock()
        self.stopping = threading.Event()
        super().__init__((options.address, options.port), BulbHandler)

    def server_bind(self):
        if self.options.stop_reading is not None:
            # A small window, so a client that keeps sending is held soon.
            self.socket.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
        super().server_bind()

    def page(self):
        o = self.options
        text = "<html><body>\r\n" + "x" * o.padding
        if o.message is not None and not o.message_unclosed:
            text += "servermessage: <%s>\r\n" % o.message
        if not o.no_upload_location:
            text += "uploadlocation: <%s>\r\n" % o.upload_path
        if o.message_unclosed:
            # The message runs to the end of the page.
            return text + "servermessage: <" + (o.message or "")
        return text + "</body></html>\r\n"

    def record(self, raw):
        if not self.options.record or not raw:
            return
        with self.lock:
            number = next(self.requests)
            with open(os.path.join(self.options.record, "request-%d.bin" % number), "wb") as f:
                f.write(raw)

    def take_upload(self, request):
        bulb = remote_file(request)
        if bulb is None or not bulb.startswith(BULB_MAGIC):
            return 400, "That is not a bulb file.\r\n"
        if self.options.store:
            with self.lock:
                name = "bulb-%d-%d.bul" % (os.getpid(), next(self.bulbs))
                with open(os.path.join(self.options.store, name), "wb") as f:
                    f.write(bulb)
        return self.options.upload_status, "Thank you.\r\n"


def remote_file(request):
    """The bytes of the form part named "remotefile", or None."""
    found = re.search(r'boundary=("?)([^";]+)\1', request.headers.get("content-type", ""))
    if not found:
        return None
    delimiter = b"--" + found.group(2).encode("latin-1")
    for part in request.body.split(delimiter)[1:]:
        if part.startswith(b"--"):
            break
        part = part[2:] if part.startswith(b"\r\n") else part
        head, separator, content = part.partition(b"\r\n\r\n")
        if not separator or not re.search(rb'name="remotefile"', head):
            continue
        return content[:-2] if content.endswith(b"\r\n") else content
    return None


def main(argv=None):
    parser = argparse.ArgumentParser(description="A bulb server for lumarel.")
    parser.add_argument("--address", default="127.0.0.1", help="address to bind (default 127.0.0.1)")
    parser.add_argument("--port", type=int, default=80, help="port; 0 takes a free one")
    parser.add_argument("--port-file", help="file to write the port to once listening")
    parser.add_argument("--store", help="folder for the bulbs received")
    parser.add_argument("--upload-path", default=UPLOAD_PATH, help="where the page tells lumarel to upload")
    parser.add_argument("--message", help="a message the page carries for the user")
    parser.add_argument("--message-unclosed", action="store_true",
                        help="test: the message last on the page, without its closing mark")
    parser.add_argument("--record", help="test: keep every raw request in this folder")
    parser.add_argument("--no-upload-location", action="store_true", help="test: leave the upload marker out")
    parser.add_argument("--padding", type=int, default=0, help="test: bytes before the markers")
    parser.add_argument("--upload-status", type=int, default=200, help="test: the upload's answer status")
    parser.add_argument("--stop-reading", type=int, metavar="N", help="test: stop reading after N bytes")
    options = parser.parse_args(argv)
    for folder in (options.store, options.record):
        if folder:
            os.makedirs(folder, exist_ok=True)
    server = BulbServer(options)
    port = server.server_address[1]
    if options.port_file:
        temporary = options.port_file + ".tmp"
        with open(temporary, "w") as f:
            f.write("%d\n" % port)
        os.replace(temporary, options.port_file)
    print("bulb server on %s:%d" % (options.address, port), file=sys.stderr, flush=True)
    try:
        server.serve_forever(poll_interval=0.2)
    except KeyboardInterrupt:
        pass
    finally:
        server.stopping.set()
        server.server_close()


if __name__ == "__main__":
    main()
