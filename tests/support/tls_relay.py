#!/usr/bin/python3
"""TLS in front of the tests' plain loopback servers (Wine's schannel cannot
act as a server, so TLS is terminated here, on the Linux side).

  tls_relay.py start STATE CERT KEY   start a detached relay (or keep the running one)
  tls_relay.py stop STATE             stop it

The relay listens for control connections on a free 127.0.0.1 port that it
writes to the STATE file. A test process sends "forward <plain port>\\n" and
reads back "<tls port>\\n": TLS connections to 127.0.0.1:<tls port> are
decrypted and relayed to the plain port until that control connection closes.
The relay ends on "stop\\n" or after IDLE_SECONDS without any control
connection.
"""
import os
import select
import socket
import ssl
import struct
import subprocess
import sys
import threading
import time

IDLE_SECONDS = 3600
START_SECONDS = 10
LINGER_SECONDS = 2


def read_port(state):
    try:
        with open(state) as f:
            return int(f.read().strip())
    except (OSError, ValueError):
        return None


def ask(port, line):
    with socket.create_connection(("127.0.0.1", port), timeout=2) as s:
        s.sendall(line.encode() + b"\n")
        return s.makefile().readline().strip()


def running(state):
    port = read_port(state)
    if port is None:
        return False
    try:
        return ask(port, "ping") == "pong"
    except OSError:
        return False


def reset(sock):
    """Closes with an RST, as the plain server's reset must reach the client."""
    try:
        sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
    except OSError:
        pass
    sock.close()


def finish(tls):
    """close_notify and FIN, then drains what the client still sends: closing
    with unread input would reset the connection and could cost it our last bytes."""
    tls.setblocking(False)
    try:
        tls.unwrap()
    except (ssl.SSLError, OSError):
        pass
    raw = socket.socket(fileno=tls.detach())
    try:
        raw.shutdown(socket.SHUT_WR)
        raw.settimeout(LINGER_SECONDS)
        while raw.recv(65536):
            pass
    except OSError:
        pass
    raw.close()


def relay_connection(tls_context, raw, plain_port):
    raw.settimeout(START_SECONDS)
    try:
        tls = tls_context.wrap_socket(raw, server_side=True)
        tls.settimeout(None)
    except (ssl.SSLError, OSError):
        raw.close()
        return
    try:
        plain = socket.create_connection(("127.0.0.1", plain_port))
    except OSError:
        reset(tls)
        return
    client_sending = True
    while True:
        if client_sending and tls.pending():
            ready = [tls]
        else:
            ready, _, _ = select.select([plain, tls] if client_sending else [plain], [], [])
        if tls in ready:
            try:
                data = tls.recv(65536)
                if data:
                    plain.sendall(data)
                else:
                    plain.shutdown(socket.SHUT_WR)
                    client_sending = False
            except (ssl.SSLError, OSError):
                reset(plain)
                reset(tls)
                return
        if plain in ready:
            try:
                data = plain.recv(65536)
                if data:
                    tls.sendall(data)
                    continue
            except (ssl.SSLError, OSError):
                plain.close()
                reset(tls)
                return
            plain.close()
            finish(tls)
            return


def accept_loop(tls_context, listener, plain_port, closed):
    while not closed.is_set():
        if not select.select([listener], [], [], 0.2)[0]:
            continue
        try:
            raw, _ = listener.accept()
        except OSError:
            continue
        threading.Thread(target=relay_connection, args=(tls_context, raw, plain_port), daemon=True).start()
    listener.close()


class Relay:
    def __init__(self, state, cert, key):
        self.state = state
        self.tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        self.tls.load_cert_chain(cert, key)
        self.lock = threading.Lock()
        self.controls = 0
        self.last_activity = time.monotonic()
        self.stopped = threading.Event()

    def touch(self, change=0):
        with self.lock:
            self.controls += change
            self.last_activity = time.monotonic()

    def control(self, connection):
        self.touch(+1)
        closed = threading.Event()
        try:
            lines = connection.makefile("rb")
            while words := lines.readline().decode().split():
                self.touch()
                if words[0] == "ping":
                    connection.sendall(b"pong\n")
                elif words[0] == "stop":
                    connection.sendall(b"stopping\n")
                    self.stopped.set()
                elif words[0] == "forward" and len(words) == 2:
                    listener = socket.create_server(("127.0.0.1", 0))
                    threading.Thread(target=accept_loop, args=(self.tls, listener, int(words[1]), closed),
                                     daemon=True).start()
                    connection.sendall(b"%d\n" % listener.getsockname()[1])
                else:
                    connection.sendall(b"error\n")
        except (OSError, ValueError):
            pass
        finally:
            closed.set()
            connection.close()
            self.touch(-1)

    def idle(self):
        with self.lock:
            return self.controls == 0 and time.monotonic() - self.last_activity > IDLE_SECONDS

    def serve(self):
        server = socket.create_server(("127.0.0.1", 0))
        port = server.getsockname()[1]
        temporary = self.state + ".new"
        with open(temporary, "w") as f:
            f.write("%d\n" % port)
        os.replace(temporary, self.state)

        def accept_controls():
            while True:
                connection, _ = server.accept()
                threading.Thread(target=self.control, args=(connection,), daemon=True).start()

        threading.Thread(target=accept_controls, daemon=True).start()
        while not self.stopped.wait(5):
            if self.idle():
                break
        if read_port(self.state) == port:
            os.remove(self.state)


def start(state, cert, key):
    if running(state):
        return 0
    try:
        os.remove(state)
    except FileNotFoundError:
        pass
    # Detached: ctest would otherwise wait for our inherited output pipes.
    child = subprocess.Popen([sys.executable, os.path.abspath(__file__), "serve", state, cert, key],
                             stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL, start_new_session=True)
    deadline = time.monotonic() + START_SECONDS
    while time.monotonic() < deadline:
        if running(state):
            return 0
        if child.poll() is not None:
            break
        time.sleep(0.05)
    print("tls_relay: the relay did not start", file=sys.stderr)
    return 1


def stop(state):
    port = read_port(state)
    if port is not None:
        try:
            ask(port, "stop")
        except OSError:
            os.remove(state)
    return 0


def main(args):
    if len(args) == 4 and args[0] == "start":
        return start(*args[1:])
    if len(args) == 4 and args[0] == "serve":
        Relay(*args[1:]).serve()
        return 0
    if len(args) == 2 and args[0] == "stop":
        return stop(args[1])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
