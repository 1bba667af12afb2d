"""vq8231ctl --serve over loopback on the simulated board, driven by PyVISA's
pure-Python backend: 100,000 command lines and one *OPC?, written one
write() per line as a lab script does, and again as one block.

    /usr/bin/python3 bench/ctl_pyvisa_bench.py build-bench/bin/vq8231ctl ["SOUR1:CODE {}"]
"""
import signal
import subprocess
import sys
import time

import pyvisa

LINES = 100000
program = sys.argv[1]
command = sys.argv[2] if len(sys.argv) > 2 else "SOUR1:CODE {}"

server = subprocess.Popen([program, "--serve", "127.0.0.1:0"], stdout=subprocess.PIPE)
port = int(server.stdout.readline().decode().rsplit(":", 1)[1])
manager = pyvisa.ResourceManager("@py")
board = manager.open_resource("TCPIP0::127.0.0.1::%d::SOCKET" % port, read_termination="\n",
                              write_termination="\n", timeout=60000)
try:
    lines = [command.format(n & 0xFFFF) for n in range(LINES)]
    start = time.perf_counter()
    for line in lines:
        board.write(line)
    assert board.query("*OPC?") == "1"
    each = time.perf_counter() - start

    block = ("\n".join(lines) + "\n").encode()
    start = time.perf_counter()
    board.write_raw(block)
    assert board.query("*OPC?") == "1"
    whole = time.perf_counter() - start

    errors = board.query("SYST:ERR:COUN?")
    print("%s: %d lines, one write() each: %.0f commands/s; one block: %.0f commands/s; errors queued: %s"
          % (command, LINES, LINES / each, LINES / whole, errors))
finally:
    board.close()
    manager.close()
    server.send_signal(signal.SIGTERM)
    server.wait()
