#!/usr/bin/python3
"""Scriptable HTTP server for fault tests: every reply is scripted, every request recorded.

faultserver.py <dir>    listens on two free loopback ports ("main" and "alt", written to
<dir>/port and <dir>/altport), writes <dir>/pid and appends each request to <dir>/requests.log:

    @<port> <request line>
    <header lines as received>
    <blank line>

The first path segment of a request names its script, <dir>/scripts/<name>.json ("/" reads
_root.json). A script is {"replies": [reply, ...]}; the n-th request for a name gets the n-th
reply (the last one repeats; writing the file again starts over). A reply may hold:
  status (200), reason, headers ([[name, value], ...], sent in order),
  body (text) or size (that many pattern bytes: byte i is i % 251),
  ranges (true: answer "Range: bytes=N-" with 206 and the tail of the body),
  content_length ("auto", a number, or null for none),
  last_modified (text, or null for none; default Wed, 21 Oct 2015 07:28:00 GMT),
  stall_headers_ms (wait before the status line), drop_after (close after N body bytes),
  stall_after and stall_ms (send N body bytes, then wait before the rest).
"""
import json
import os
import re
import socket
import socketserver
import sys
import threading
import time

DEFAULT_DATE = "Wed, 21 Oct 2015 07:28:00 GMT"
state_lock = threading.Lock()
counters = {}  # name -> (script text, requests served)


def pattern(size):
    block = bytes(i % 251 for i in range(251))
    return (block * (size // 251 + 1))[:size]


def next_reply(directory, name):
    path = os.path.join(directory, "scripts", (name or "_root") + ".json")
    try:
        with open(path, encoding="utf-8") as f:
            info = os.fstat(f.fileno())
            text = f.read()
    except OSError:
        return {"status": 404, "body": "no script\n", "last_modified": None}
    with state_lock:
        # A script written again (even with the same text) starts over.
        version = (info.st_ino, info.st_mtime_ns, text)
        old_version, served = counters.get(name, (None, 0))
        if old_version != version:
            served = 0
        counters[name] = (version, served + 1)
    replies = json.loads(text)["replies"]
    return replies[min(served, len(replies) - 1)]


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        conn = self.request
        conn.settimeout(30)
        data = b""
        while b"\r\n\r\n" not in data:
            chunk = conn.recv(4096)
            if not chunk:
                return
            data += chunk
        head = data.split(b"\r\n\r\n", 1)[0].decode("latin-1")
        lines = head.split("\r\n")
        port = conn.getsockname()[1]
        with state_lock:
            with open(os.path.join(self.server.directory, "requests.log"), "a", encoding="latin-1") as log:
                log.write("@%d %s\n" % (port, "\n".join(lines)) + "\n\n")
        parts = lines[0].split(" ")
        target = parts[1] if len(parts) > 1 else "/"
        target = re.sub(r"^[a-zA-Z]+://[^/]*", "", target)
        name = target.lstrip("/").split("/", 1)[0].split("?", 1)[0]
        headers = {}
        for line in lines[1:]:
            if ":" in line:
                key, value = line.split(":", 1)
                headers[key.strip().lower()] = value.strip()
        self.reply(conn, next_reply(self.server.directory, name), headers)

    def reply(self, conn, reply, headers):
        status = reply.get("status", 200)
        reason = reply.get("reason", {200: "OK", 206: "Partial Content", 301: "Moved Permanently",
                                      302: "Found", 404: "Not Found"}.get(status, "Status"))
        if "size" in reply:
            body = pattern(reply["size"])
        else:
            body = reply.get("body", "").encode("latin-1")
        extra = []
        match = re.match(r"bytes=(\d+)-$", headers.get("range", ""))
        if reply.get("ranges") and match and int(match.group(1)) <= len(body):
            start = int(match.group(1))
            status, reason = 206, "Partial Content"
            extra.append(("Content-Range", "bytes %d-%d/%d" % (start, len(body) - 1, len(body))))
            body = body[start:]
        out = ["HTTP/1.0 %d %s" % (status, reason)]
        last_modified = reply.get("last_modified", DEFAULT_DATE)
        if last_modified is not None:
            out.append("Last-Modified: " + last_modified)
        length = reply.get("content_length", "auto")
        if length == "auto":
            length = len(body)
        if length is not None:
            out.append("Content-Length: %s" % length)
        for key, value in reply.get("headers", []) + extra:
            out.append("%s: %s" % (key, value))
        out.append("Connection: close")
        time.sleep(reply.get("stall_headers_ms", 0) / 1000.0)
        try:
            conn.sendall(("\r\n".join(out) + "\r\n\r\n").encode("latin-1"))
            if "drop_after" in reply:
                body = body[:reply["drop_after"]]
            if "stall_after" in reply:
                conn.sendall(body[:reply["stall_after"]])
                time.sleep(reply.get("stall_ms", 0) / 1000.0)
                body = body[reply["stall_after"]:]
            conn.sendall(body)
        except OSError:
            pass


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    directory = os.path.abspath(sys.argv[1])
    os.makedirs(os.path.join(directory, "scripts"), exist_ok=True)
    open(os.path.join(directory, "requests.log"), "w").close()
    servers = []
    for name in ("port", "altport"):
        server = Server(("127.0.0.1", 0), Handler)
        server.directory = directory
        servers.append(server)
        threading.Thread(target=server.serve_forever, daemon=True).start()
    for name, server in zip(("port", "altport"), servers):
        with open(os.path.join(directory, name + ".tmp"), "w") as f:
            f.write("%d\n" % server.server_address[1])
        os.replace(os.path.join(directory, name + ".tmp"), os.path.join(directory, name))
    with open(os.path.join(directory, "pid"), "w") as f:
        f.write("%d\n" % os.getpid())
    threading.Event().wait()


if __name__ == "__main__":
    main()
