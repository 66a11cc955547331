#!/usr/bin/env python3
"""A local RFC 3161 time-stamp service for the signing test.

  timestamp_service.py CERT KEY DIR

Listens on a port of 127.0.0.1 that the system picks, prints the port on the
first line and answers time-stamp queries, signed with CERT and KEY by
`openssl ts`, until it is stopped. Keeps its serial number and replies in DIR.
"""

import os
import subprocess
import sys
import tempfile
from http.server import BaseHTTPRequestHandler, HTTPServer


def write_config(cert, key, state_dir):
    config = os.path.join(state_dir, "tsa.cnf")
    with open(os.path.join(state_dir, "serial"), "w") as f:
        f.write("01\n")
    with open(config, "w") as f:
        f.write(f"""[ tsa ]
default_tsa = tsa_config
[ tsa_config ]
serial = {state_dir}/serial
signer_cert = {cert}
signer_key = {key}
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha256, sha384, sha512
ess_cert_id_alg = sha256
""")
    return config


def handler_for(config, state_dir):
    class Handler(BaseHTTPRequestHandler):
        def do_POST(self):
            query = self.rfile.read(int(self.headers.get("Content-Length", 0)))
            with tempfile.TemporaryDirectory(dir=state_dir) as work:
                query_file = os.path.join(work, "query.tsq")
                reply_file = os.path.join(work, "reply.tsr")
                with open(query_file, "wb") as f:
                    f.write(query)
                made = subprocess.run(["openssl", "ts", "-reply", "-config", config,
                                       "-queryfile", query_file, "-out", reply_file],
                                      capture_output=True)
                if made.returncode != 0:
                    self.send_error(400, made.stderr.decode(errors="replace")[:200])
                    return
                with open(reply_file, "rb") as f:
                    reply = f.read()
            self.send_response(200)
            self.send_header("Content-Type", "application/timestamp-reply")
            self.send_header("Content-Length", str(len(reply)))
            self.end_headers()
            self.wfile.write(reply)

        def log_message(self, *args):
            pass

    return Handler


def main():
    cert, key, state_dir = (os.path.abspath(a) for a in sys.argv[1:4])
    config = write_config(cert, key, state_dir)
    server = HTTPServer(("127.0.0.1", 0), handler_for(config, state_dir))
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
