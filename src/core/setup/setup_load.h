// Takes the converter and the board to a setup through the serial access
// routines, in an order that is safe for the converter and moves each output
// once, then reads every written register back. Opening a setup file, the
// command layer's SETup:LOAD and restoring a board after a reconnect all run
// this one sequence.
#pragma once

#include "board/serial_access.h"
#include "setup/board_setup.h"

#include <string>
#include <vector>

namespace vq {

struct SetupLoadReport {
  // Registers that read back otherwise than written: "DAC C offset: wrote
  // 0x12, reads 0x00", or "... could not be read back".
  std::vector<std::string> Differences;
  // Registers the setup does not know, which were left as they were.
  std::vector<std::string> NotRestored;
  // RSTIN was saved low: the converter ignores words then, so nothing was
  // read back.
  bool ReadBackSkipped = false;

  bool ReadsBackAsLoaded() const { return Differences.empty(); }
  // What the user should know, in sentences; empty when everything reads
  // back as loaded and nothing was left out.
  std::string Summary() const;
};

// The requests, in this order:
//  1. the control lines with RSTIN, CLR and LDAC high and the saved coding and
//     drive levels (the converter ignores words while RSTIN is low);
//  2. for each of D0 and D1 that becomes an output of the converter, the
//     board lets go of it (0xDB/0xDC value 0); the function word; for each
//     that becomes an input, the board takes it (value 1): never both drive;
//  3. per channel A to D: coarse gain, fine gain, offset, then data with the
//     LDAC pulse, so each output moves once, to its saved code;
//  4. the control lines as saved;
//  5. the read-back of every register written (SDO enabled for it and the
//     saved function word written again afterwards when it disables SDO).
// Registers the setup lacks are neither written nor read, and are named.
// A failed request does not stop the sequence: the serial access keeps the
// first failure, and the read-back names what did not arrive.
SetupLoadReport LoadSetup(SerialAccess &serial, const BoardSetup &setup);

} // namespace vq
