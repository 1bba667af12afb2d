// The evaluation board as a bench instrument: the SCPI command set bound to
// the board through the serial access routines. The command-line program and
// the socket server run lines through it; neither needs more than this header.
//
// What it assumes at start: the control lines as the program's start-up sets
// them (every line high, the board driving D0 and D1 low) with LDAC pulsed
// after every data write, and the converter's options as ReadStartOptions
// finds them (all off until then). The lines cannot be read back: LINE
// commands change what is assumed, and queries answer it.
#pragma once

#include "instrument/bench_context.h"
#include "remote/interpreter.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vq {

class BenchInstrument {
public:
  // `model` must hear the calls of the board link under `serial` (the caller
  // adds it as a call listener): the voltage commands fall back on the ranges
  // it knows. Both must outlive the instrument.
  BenchInstrument(SerialAccess &serial, RegisterModel &model, const InstrumentIdentity &identity);
  BenchInstrument(const BenchInstrument &) = delete;
  BenchInstrument &operator=(const BenchInstrument &) = delete;

  remote::Interpreter &Interpreter() { return interpreter_; }

  // Runs one command line (without its line end) and appends the queries'
  // answers, one line each. Errors go into Interpreter().Errors().
  remote::LineResult Run(std::string_view line, std::vector<std::string> &answers) {
    return interpreter_.Run(line, answers);
  }

  // Reads the function register, as the window's start-up does, so FUNCtion
  // commands keep the options they do not name. Without an answer the options
  // stay all off; the status says why.
  BoardStatus ReadStartOptions();
  // For a board that came back with its power-on registers (a reconnect):
  // the settings as at start, the options read again.
  BoardStatus StartAfresh();

  const InstrumentSettings &Settings() const { return bench_.Settings; }
  // How SETup:SAVE and SETup:LOAD turn a name into a file: the server keeps
  // them inside its setup directory. Without a rule a name is a path.
  void NameSetupFilesBy(SetupPathRule rule) { bench_.SetupPath = std::move(rule); }
  // The failed request behind the last -240 a command queued: a caller tells
  // a lost board (BoardStatus::Gone) from other failures by its status.
  const std::optional<BoardCall> &LastFailure() const { return bench_.LastFailure; }

private:
  BenchContext bench_;
  remote::Interpreter interpreter_;
};

} // namespace vq
