"""vq8231ctl --serve on the simulated board, driven over raw sockets: one
client at a time, lines cut anywhere or never finished, an endless line, a
client that never reads, and SIGTERM or SIGINT at any moment.

    server_test.py PATH_TO_VQ8231CTL
"""
import os
import signal
import socket
import subprocess
import sys
import threading
import time
import unittest

CTL = sys.argv.pop(1) if __name__ == "__main__" else os.environ["VQ8231CTL"]
# The sanitizers hold freed memory back for a while: bounds grow with them.
SLACK = int(os.environ.get("VQ_MEMORY_SLACK_FACTOR", "1"))


class Server:
    """The program serving on a free loopback port."""

    def __init__(self, *extra):
        self.process = subprocess.Popen([CTL, "--serve", "127.0.0.1:0", *extra],
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        line = self.process.stdout.readline().decode()
        if not line.startswith("listening on 127.0.0.1:"):
            self.process.kill()
            raise AssertionError("no listening line: %r %r" % (line, self.process.stderr.read()))
        self.port = int(line.rsplit(":", 1)[1])

    def connect(self):
        client = socket.create_connection(("127.0.0.1", self.port), timeout=10)
        return client

    def memory_kib(self):
        with open("/proc/%d/status" % self.process.pid) as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
        raise AssertionError("no VmRSS")

    def stop(self, sig=signal.SIGTERM):
        self.process.send_signal(sig)
        try:
            return self.process.wait(timeout=10)
        finally:
            self.process.kill()
            self.process.stdout.close()
            self.process.stderr.close()


def ask(client, text, wanted=None):
    """Sends lines and reads `wanted` answer lines, one per line sent unless told."""
    client.sendall(text.encode())
    wanted = text.count("\n") if wanted is None else wanted
    received = b""
    while received.count(b"\n") < wanted:
        piece = client.recv(65536)
        if not piece:
            break
        received += piece
    return received.decode().splitlines()


class ServerTest(unittest.TestCase):
    def setUp(self):
        self.server = Server()

    def tearDown(self):
        if self.server.process.poll() is None:
            self.assertEqual(self.server.stop(), 0)

    def test_answers_one_line_per_query_and_queues_errors(self):
        with self.server.connect() as client:
            answers = ask(client, "*IDN?\nNO:SUCH\n*OPC?;*OPC?\nSYST:ERR?\n", 4)
        self.assertRegex(answers[0], r"^VQ8231 Evaluation Software,VQ8231,1,\d+\.\d+\.\d+\.\d+$")
        self.assertEqual(answers[1:], ["1", "1", '-113,"Undefined header;NO:SUCH"'])

    def test_a_second_client_is_turned_away_and_the_first_goes_on(self):
        with self.server.connect() as first:
            first.sendall(b"*OP")  # in the middle of a line
            with self.server.connect() as second:
                self.assertEqual(second.recv(100), b"busy\n")
                self.assertEqual(second.recv(100), b"")  # closed
            self.assertEqual(ask(first, "C?\n"), ["1"])
        # Once the first has gone, the next is served.
        for _ in range(50):
            with self.server.connect() as third:
                answers = ask(third, "*OPC?\n")
                if answers != ["busy"]:
                    break
            time.sleep(0.05)
        self.assertEqual(answers, ["1"])

    def test_a_line_cut_off_by_a_disconnect_never_runs(self):
        with self.server.connect() as client:
            client.sendall(b"NO:SU")
        for _ in range(50):
            with self.server.connect() as client:
                answers = ask(client, "SYST:ERR:COUN?\n")
            if answers != ["busy"]:
                break
            time.sleep(0.05)
        self.assertEqual(answers, ["0"])

    def test_a_line_without_its_end_waits_and_an_endless_one_is_refused(self):
        with self.server.connect() as client:
            client.sendall(b"*OPC?")
            time.sleep(0.2)
            self.assertEqual(ask(client, "\n"), ["1"])
            before = self.server.memory_kib()
            block = b"A" * (1024 * 1024)
            for _ in range(32):
                client.sendall(block)
            self.assertLess(self.server.memory_kib() - before, SLACK * 8 * 1024)
            answers = ask(client, "\nSYST:ERR?\nSYST:ERR?\n", 2)
        self.assertEqual(answers, ['-102,"Syntax error;line longer than 65536 bytes"', '0,"No error"'])

    def test_a_client_that_never_reads_cannot_grow_the_program(self):
        before = self.server.memory_kib()
        with self.server.connect() as client:
            client.settimeout(3)
            queries = b"*IDN?\n" * 100000
            sent = 0
            try:
                for _ in range(100):
                    client.sendall(queries)
                    sent += len(queries)
            except socket.timeout:
                pass
            self.assertLess(sent, 100 * len(queries), "the server read everything without being read")
            self.assertLess(self.server.memory_kib() - before, SLACK * 16 * 1024)

    def test_sigterm_in_the_middle_of_a_stream_ends_it_cleanly(self):
        client = self.server.connect()
        stop = threading.Event()

        def stream():
            try:
                while not stop.is_set():
                    client.sendall(b"SYST:ERR:COUN?\n" * 1000)
                    client.recv(65536)
            except OSError:
                pass

        sender = threading.Thread(target=stream)
        sender.start()
        time.sleep(0.3)
        self.assertEqual(self.server.stop(signal.SIGTERM), 0)
        stop.set()
        client.close()
        sender.join()

    def test_sigint_mid_line_ends_it_cleanly(self):
        with self.server.connect() as client:
            client.sendall(b"SYST:ERR")
            time.sleep(0.1)
            self.assertEqual(self.server.stop(signal.SIGINT), 0)


class AddressTest(unittest.TestCase):
    def test_an_address_other_than_loopback_is_warned_about(self):
        server = subprocess.Popen([CTL, "--serve", "0.0.0.0:0"], stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        try:
            self.assertTrue(server.stdout.readline().startswith(b"listening on 0.0.0.0:"))
            server.send_signal(signal.SIGTERM)
            self.assertEqual(server.wait(timeout=10), 0)
            self.assertIn(b"anyone who can reach this address can drive the board", server.stderr.read())
        finally:
            server.kill()
            server.stdout.close()
            server.stderr.close()


if __name__ == "__main__":
    unittest.main()
