#!/usr/bin/env python3
"""A local stand-in for the maker's web service, for tests and manual runs.

  standin.py serve --port P [--https-port Q] --state-dir DIR   run in the foreground
  standin.py start --port P [--https-port Q] --state-dir DIR   run detached, return once it answers
  standin.py stop --state-dir DIR                              stop the one started there

HTTPS (a port of 0 lets the system choose) uses a certificate for "localhost"
signed by a test certificate authority, both made with openssl in DIR.

Control interface on either port, JSON in and out; GET takes the same fields
as query parameters (repeat "header" as "Name: Value"):
  /_control/reply    script the reply for a path: path, status, headers
                     ([[name, value], ...]), body (text, sent as UTF-8) or
                     body_hex, repeat (send the body this many times), delay
                     (seconds), times (use it this often, then fall back to the
                     next scripted reply or the default), drop (close the
                     connection without a reply), chunk (send the body in
                     HTTP chunks of this many bytes) and pause (seconds
                     between the chunks)
  /_control/reset    forget scripted replies and the request log
  /_control/log      {"requests": [{"scheme", "method", "path", "headers": [[name, value], ...]}]}
  /_control/info     {"http_port", "https_port"}
  /_control/ca       the test CA's certificate (PEM)
Without a scripted reply, /myip answers 200 {"ip":"<client address>"}, the
check-in /api.init.php 200 {"update":""} (no update offered), and any other
path 404.
"""

import argparse
import json
import os
import signal
import ssl
import subprocess
import sys
import threading
import time
import urllib.parse
import urllib.request
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer


class State:
    def __init__(self, ca_pem):
        self.lock = threading.Lock()
        self.replies = {}  # path -> list of scripted replies, first is next
        self.log = []
        self.ca_pem = ca_pem
        self.ports = {}

    def take_reply(self, path):
        with self.lock:
            queue = self.replies.get(path)
            if not queue:
                return None
            reply = queue[0]
            if reply.get("times") is not None:
                reply["times"] -= 1
                if reply["times"] <= 0:
                    queue.pop(0)
            return reply


def reply_from_fields(fields):
    reply = {
        "status": int(fields.get("status", 200)),
        "headers": [list(h) for h in fields.get("headers", [])],
        "repeat": int(fields.get("repeat", 1)),
        "delay": float(fields.get("delay", 0)),
        "times": int(fields["times"]) if fields.get("times") is not None else None,
        "drop": bool(fields.get("drop", False)),
        "chunk": int(fields.get("chunk", 0)),
        "pause": float(fields.get("pause", 0)),
    }
    if "body_hex" in fields:
        reply["body"] = bytes.fromhex(fields["body_hex"])
    else:
        reply["body"] = str(fields.get("body", "")).encode("utf-8")
    return reply


def fields_from_query(query):
    """GET form of a control call: single values, except repeated headers."""
    fields = {}
    for name, value in urllib.parse.parse_qsl(query, keep_blank_values=True):
        if name == "header":
            header_name, _, header_value = value.partition(":")
            fields.setdefault("headers", []).append([header_name.strip(), header_value.strip()])
        elif name == "drop":
            fields[name] = value.lower() in ("1", "true", "yes")
        else:
            fields[name] = value
    return fields


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "StandIn/1"

    def log_message(self, format, *args):  # the log endpoint is the record
        pass

    @property
    def state(self):
        return self.server.state

    def do_GET(self):
        self.dispatch()

    def do_POST(self):
        self.dispatch()

    def dispatch(self):
        url = urllib.parse.urlsplit(self.path)
        length = int(self.headers.get("Content-Length") or 0)
        data = self.rfile.read(length) if length else b""
        if url.path.startswith("/_control/"):
            fields = json.loads(data) if data else fields_from_query(url.query)
            self.control(url.path[len("/_control/"):], fields)
            return
        with self.state.lock:
            self.state.log.append({
                "scheme": self.server.scheme,
                "method": self.command,
                "path": self.path,
                "headers": [[k, v] for k, v in self.headers.items()],
            })
        reply = self.state.take_reply(url.path) or self.default_reply(url.path)
        if reply["delay"]:
            time.sleep(reply["delay"])
        if reply["drop"]:
            self.close_connection = True
            return
        self.send(reply["status"], reply["headers"], reply["body"] * reply["repeat"],
                  reply["chunk"], reply["pause"])

    def default_reply(self, path):
        if path == "/myip":
            body = json.dumps({"ip": self.client_address[0]}).encode()
            return reply_from_fields({"headers": [["Content-Type", "application/json"]],
                                      "body_hex": body.hex()})
        if path == "/api.init.php":
            return reply_from_fields({"headers": [["Content-Type", "application/json"]],
                                      "body": '{"update":""}'})
        return reply_from_fields({"status": 404, "body": "not found"})

    def control(self, command, fields):
        state = self.state
        if command == "reply":
            with state.lock:
                state.replies.setdefault(fields["path"], []).append(reply_from_fields(fields))
            self.send_json({"ok": True})
        elif command == "reset":
            with state.lock:
                state.replies.clear()
                state.log.clear()
            self.send_json({"ok": True})
        elif command == "log":
            with state.lock:
                requests = list(state.log)
            # One request a line, so that a test can also read it without a parser.
            lines = ",\n".join(json.dumps(r) for r in requests)
            self.send(200, [["Content-Type", "application/json"]],
                      ('{"requests": [\n' + lines + "\n]}\n").encode())
        elif command == "info":
            self.send_json(state.ports)
        elif command == "ca" and state.ca_pem:
            self.send(200, [["Content-Type", "application/x-pem-file"]], state.ca_pem)
        else:
            self.send_json({"error": "unknown control " + command}, status=404)

    def send_json(self, value, status=200):
        self.send(status, [["Content-Type", "application/json"]], json.dumps(value).encode())

    def send(self, status, headers, body, chunk=0, pause=0):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        if chunk:
            self.send_header("Transfer-Encoding", "chunked")
        else:
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        try:
            if not chunk:
                self.wfile.write(body)
                return
            for start in range(0, len(body), chunk):
                if start and pause:
                    time.sleep(pause)
                piece = body[start:start + chunk]
                self.wfile.write(b"%x\r\n%s\r\n" % (len(piece), piece))
                self.wfile.flush()
            self.wfile.write(b"0\r\n\r\n")
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True


class Server(ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        # Clients that hang up early (a cut body, a dropped reply) are expected.
        if not isinstance(sys.exc_info()[1], ConnectionError):
            super().handle_error(request, client_address)


def openssl(*args, cwd):
    subprocess.run(["openssl", *args], cwd=cwd, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def make_certificates(state_dir):
    """A test CA and a certificate for localhost, renewed when near their end."""
    cert = os.path.join(state_dir, "localhost.pem")
    if os.path.exists(cert) and subprocess.run(
            ["openssl", "x509", "-checkend", "86400", "-noout", "-in", cert],
            stdout=subprocess.DEVNULL).returncode == 0:
        return
    with open(os.path.join(state_dir, "localhost.ext"), "w") as ext:
        ext.write("basicConstraints=CA:FALSE\nkeyUsage=digitalSignature,keyEncipherment\n"
                  "extendedKeyUsage=serverAuth\nsubjectAltName=DNS:localhost\n")
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "30",
            "-keyout", "ca.key", "-out", "ca.pem", "-subj", "/CN=Tavrin Test CA",
            "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign", cwd=state_dir)
    openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", "localhost.key",
            "-out", "localhost.csr", "-subj", "/CN=localhost", cwd=state_dir)
    openssl("x509", "-req", "-in", "localhost.csr", "-CA", "ca.pem", "-CAkey", "ca.key",
            "-CAcreateserial", "-days", "30", "-extfile", "localhost.ext",
            "-out", "localhost.pem", cwd=state_dir)


def serve(args):
    os.makedirs(args.state_dir, exist_ok=True)
    ca_pem = None
    if args.https_port is not None:
        make_certificates(args.state_dir)
        with open(os.path.join(args.state_dir, "ca.pem"), "rb") as f:
            ca_pem = f.read()
    state = State(ca_pem)
    servers = []

    def listen(port, scheme):
        server = Server(("127.0.0.1", port), Handler)
        server.state = state
        server.scheme = scheme
        state.ports[scheme + "_port"] = server.server_address[1]
        servers.append(server)
        return server

    listen(args.port, "http")
    if args.https_port is not None:
        tls = listen(args.https_port, "https")
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(os.path.join(args.state_dir, "localhost.pem"),
                                os.path.join(args.state_dir, "localhost.key"))
        tls.socket = context.wrap_socket(tls.socket, server_side=True)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    for server in servers[1:]:
        threading.Thread(target=server.serve_forever, daemon=True).start()
    servers[0].serve_forever()


def pid_file(state_dir):
    return os.path.join(state_dir, "standin.pid")


def running(pid):
    try:
        os.kill(pid, 0)
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"  # a zombie has ended
    except (ProcessLookupError, FileNotFoundError):
        return False


def stop(args):
    try:
        with open(pid_file(args.state_dir)) as f:
            pid = int(f.read())
        os.remove(pid_file(args.state_dir))
    except (OSError, ValueError):
        return
    # A pid file left by a run long gone may name someone else's process now.
    try:
        with open("/proc/%d/cmdline" % pid, "rb") as f:
            command = f.read().split(b"\0")
    except OSError:
        return
    if os.path.abspath(__file__).encode() not in command or \
            os.path.abspath(args.state_dir).encode() not in command:
        return
    try:
        os.kill(pid, signal.SIGTERM)
    except ProcessLookupError:
        return
    for _ in range(100):
        if not running(pid):
            return
        time.sleep(0.05)


def start(args):
    os.makedirs(args.state_dir, exist_ok=True)
    stop(args)  # one left over from an interrupted run
    command = [sys.executable, os.path.abspath(__file__), "serve", "--port", str(args.port),
               "--state-dir", os.path.abspath(args.state_dir)]
    if args.https_port is not None:
        command += ["--https-port", str(args.https_port)]
    # Detached, with no handle on our output: ctest waits for whoever holds its pipe.
    with open(os.path.join(args.state_dir, "standin.log"), "ab") as log:
        process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                                   start_new_session=True)
    with open(pid_file(args.state_dir), "w") as f:
        f.write(str(process.pid))
    url = "http://127.0.0.1:%d/_control/info" % args.port
    for _ in range(200):
        if process.poll() is not None:
            sys.exit("standin: the server ended at once (port %d taken?); see %s/standin.log"
                     % (args.port, args.state_dir))
        try:
            with urllib.request.urlopen(url, timeout=1) as reply:
                print("standin:", reply.read().decode())
                return
        except OSError:
            time.sleep(0.05)
    stop(args)
    sys.exit("standin: no answer on port %d" % args.port)


def main():
    parser = argparse.ArgumentParser(description="Local stand-in of the maker's web service.")
    parser.add_argument("command", choices=["serve", "start", "stop"])
    parser.add_argument("--port", type=int)
    parser.add_argument("--https-port", type=int)
    parser.add_argument("--state-dir", required=True)
    args = parser.parse_args()
    if args.command != "stop" and args.port is None:
        parser.error("--port is required")
    {"serve": serve, "start": start, "stop": stop}[args.command](args)


if __name__ == "__main__":
    main()
