"""vq8231ctl.exe under Wine on the simulated board: commands and a script with
the library --library names and with the one at the board maker's installed
path (inside the test's own prefix), the socket served to a client on this
side, and the messages for a missing library, a missing entry point and a
failed download.

    wine_test.py WINE BIN_DIR

BIN_DIR holds vq8231ctl.exe, the simulated libraries and VQ8231.hex; WINEPREFIX
names a prefix whose server runs and which holds the installed library.
"""
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import unittest

WINE = sys.argv.pop(1) if __name__ == "__main__" else os.environ["VQ_WINE"]
BIN = sys.argv.pop(1) if __name__ == "__main__" else os.environ["VQ_BIN_DIR"]
IDN = r"VQ8231 Evaluation Software,VQ8231,1,[0-9.]+\n"


def windows_path(path):
    """The Unix path as the program sees it: a fresh prefix maps Z: to /."""
    return "Z:" + os.path.abspath(path)


def run(program, *arguments, stdin=None):
    """Status, standard output and standard error, line ends as on Linux."""
    done = subprocess.run([WINE, program, *arguments], input=stdin, capture_output=True, timeout=120)
    return (done.returncode, done.stdout.decode().replace("\r\n", "\n"),
            done.stderr.decode().replace("\r\n", "\n"))


class Commands(unittest.TestCase):
    ctl = os.path.join(BIN, "vq8231ctl.exe")
    library = windows_path(os.path.join(BIN, "KVL_CYUSB_USB4.dll"))

    def setUp(self):
        self.scratch = tempfile.mkdtemp()

    def tearDown(self):
        shutil.rmtree(self.scratch)

    def assertRun(self, result, status, out, err=""):
        self.assertEqual(result[0], status, result)
        self.assertRegex(result[1], r"\A" + out + r"\Z")
        self.assertRegex(result[2], r"\A" + err + r"\Z")

    def test_commands_on_the_named_and_the_installed_library(self):
        for library in (["--library", self.library], []):
            with self.subTest(library=library):
                self.assertRun(run(self.ctl, *library, "*IDN?", "SOUR1:CODE 100", "SOUR1:CODE?", "SYST:ERR?"), 0,
                               IDN + r'100\n0,"No error"\n')

    def test_script_from_a_file_and_from_standard_input(self):
        script = os.path.join(self.scratch, "run.scpi")
        with open(script, "w", newline="") as file:
            file.write("# codes\r\nSOUR2:CODE 40000\r\nSOUR2:CODE?\r\nNO:SUCH\r\n*OPC?\r\n")
        error = r'%s:4: -113,"Undefined header;NO:SUCH"\n'
        self.assertRun(run(self.ctl, "--library", self.library, "-f", windows_path(script)), 1, r"40000\n",
                       error % re.escape(windows_path(script)))
        with open(script, "rb") as file:
            self.assertRun(run(self.ctl, "-f", "-", stdin=file.read()), 1, r"40000\n", error % "<stdin>")

    def test_messages_for_an_unusable_library_or_firmware(self):
        absent = windows_path(os.path.join(self.scratch, "Absent.dll"))
        self.assertRun(run(self.ctl, "--library", absent, "*OPC?"), 2, "",
                       r'vq8231ctl: cannot use the board library: The board library "%s" cannot be loaded: [^\n]+\n'
                       % re.escape(absent))
        # The earlier library has only the two operations.
        self.assertRun(run(self.ctl, "--library", windows_path(os.path.join(BIN, "USBFunctions.dll")), "*OPC?"), 2,
                       "", r"vq8231ctl: cannot use the board library: [^\n]*Search_For_Boards[^\n]*\n")
        # No firmware beside the program: the download fails, --attach needs none.
        alone = shutil.copy(self.ctl, self.scratch)
        self.assertRun(run(alone, "--library", self.library, "*OPC?"), 2, "",
                       r"vq8231ctl: VQ8231\.hex is missing beside the program or cannot be read\n")
        self.assertRun(run(alone, "--attach", "--library", self.library, "*IDN?"), 0, IDN)


class Socket(unittest.TestCase):
    def test_a_client_here_drives_the_board(self):
        server = subprocess.Popen([WINE, os.path.join(BIN, "vq8231ctl.exe"), "--serve", "127.0.0.1:0"],
                                  stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        try:
            line = server.stdout.readline().decode().strip()
            self.assertRegex(line, r"^listening on 127\.0\.0\.1:\d+$", server.stderr.read1() if not line else "")
            port = int(line.rsplit(":", 1)[1])
            with socket.create_connection(("127.0.0.1", port), timeout=30) as client:
                client.sendall(b"*IDN?\nSOUR1:CODE 100\nSOUR1:CODE?\nSYST:ERR?\n")
                received = b""
                while received.count(b"\n") < 3:
                    piece = client.recv(4096)
                    self.assertTrue(piece, "the server closed after %r" % received)
                    received += piece
            self.assertRegex(received.decode(), r"\A" + IDN + r'100\n0,"No error"\n\Z')
        finally:
            server.kill()
            server.wait(timeout=30)
            server.stdout.close()
            server.stderr.close()


if __name__ == "__main__":
    unittest.main()
