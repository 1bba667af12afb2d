"""PyVISA, a client nobody here wrote, drives vq8231ctl --serve on the
simulated board through its pure-Python backend, as a lab script would.
Missing modules fail the test: it never skips.

    pyvisa_test.py PATH_TO_VQ8231CTL
"""
import signal
import socket
import subprocess
import sys
import tempfile
import unittest

import pyvisa  # python3-pyvisa
import pyvisa_py  # noqa: F401  python3-pyvisa-py, the '@py' backend

CTL = sys.argv.pop(1)


class PyVisaTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.setups = tempfile.TemporaryDirectory()
        cls.server = subprocess.Popen([CTL, "--serve", "127.0.0.1:0", "--setup-dir", cls.setups.name],
                                      stdout=subprocess.PIPE)
        line = cls.server.stdout.readline().decode()
        cls.port = int(line.rsplit(":", 1)[1])
        cls.manager = pyvisa.ResourceManager("@py")
        cls.board = cls.manager.open_resource("TCPIP0::127.0.0.1::%d::SOCKET" % cls.port,
                                              read_termination="\n", write_termination="\n", timeout=10000)

    @classmethod
    def tearDownClass(cls):
        cls.board.close()
        cls.manager.close()
        cls.server.send_signal(signal.SIGTERM)
        status = cls.server.wait(timeout=10)
        cls.server.stdout.close()
        cls.setups.cleanup()
        assert status == 0, "the server ended with %d" % status

    def test_identity(self):
        maker, model, board, version = self.board.query("*IDN?").split(",")
        self.assertEqual((maker, model, board), ("VQ8231 Evaluation Software", "VQ8231", "1"))
        self.assertRegex(version, r"^\d+\.\d+\.\d+\.\d+$")

    def test_refused_commands_are_read_back_from_the_error_queue(self):
        self.board.write("*CLS")
        self.board.write("NO:SUCH")
        self.board.write("SYST:ERR:COUN? 1")
        self.assertEqual(self.board.query("SYST:ERR:COUN?"), "2")
        self.assertEqual(self.board.query("SYST:ERR?"), '-113,"Undefined header;NO:SUCH"')
        self.assertEqual(self.board.query("SYST:ERR?"), '-108,"Parameter not allowed;1"')
        self.assertEqual(self.board.query("SYST:ERR?"), '0,"No error"')
        self.assertEqual(self.board.query("*OPC?"), "1")

    def test_a_voltage_set_and_read_back(self):
        self.board.write("SOUR2:RANG 4.201;SOUR2:VOLT 1")
        self.assertEqual(self.board.query("SOUR2:VOLT?"), "0.999994")
        self.assertEqual(self.board.query("SYST:ERR?"), '0,"No error"')

    def test_a_code_sweep(self):
        for code in range(0, 65536, 4096):
            self.board.write("SOUR1:CODE %d" % code)
            self.assertEqual(int(self.board.query("SOUR1:CODE?")), code)
        self.assertEqual(self.board.query("SYST:ERR:COUN?"), "0")

    def test_a_register_round_trip_and_the_temperature(self):
        self.board.write("REG:WRIT OFFS,3,#H81")
        self.assertEqual(self.board.query("REG:READ? OFFS,3"), "129")
        self.assertAlmostEqual(float(self.board.query("MEAS:TEMP?")), 25.0, delta=3.0)

    def test_a_setup_saved_and_loaded(self):
        self.board.write("SOUR3:CODE 12345")
        self.board.write('SETup:SAVE "pyvisa-setup.json"')
        self.board.write("SOUR3:CODE 1")
        self.board.write('SETup:LOAD "pyvisa-setup.json"')
        self.assertEqual(self.board.query("SOUR3:CODE?"), "12345")
        self.board.write('SETup:LOAD "../outside.json"')
        code, _ = self.board.query("SYST:ERR?").split(",", 1)
        self.assertEqual(code, "-224")
        self.assertEqual(self.board.query("SYST:ERR?"), '0,"No error"')

    def test_a_second_client_is_turned_away(self):
        self.assertEqual(self.board.query("*OPC?"), "1")
        with socket.create_connection(("127.0.0.1", self.port), timeout=10) as second:
            self.assertEqual(second.recv(100), b"busy\n")
        self.assertEqual(self.board.query("*OPC?"), "1")


if __name__ == "__main__":
    unittest.main()
