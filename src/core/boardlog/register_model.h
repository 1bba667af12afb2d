// What the converter holds, as far as the program can tell from the calls it
// made: the last code written to or read from each of the 17 registers a user
// can read (four per channel and the function register), where that code came
// from, and the board's control lines. It listens to the board link like the
// activity log, so it works with any board library and needs no window; the
// register map, setup files, the command layer and a reconnect all ask it.
//
// It follows the calls as the converter takes them: a word to "all DACs"
// reaches the four channels, each register keeps only its own bits, clear-all
// and load-all move only the DAC registers behind the outputs (which no read
// reaches), RSTIN low resets every register and makes the converter ignore
// words, and a read's answer arrives in the frame after the read word.
#pragma once

#include "board/board_call.h"
#include "board/control_lines.h"
#include "board/registers.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace vq {

enum class RegisterOrigin : uint8_t {
  NotKnown, // never seen, or a failed write, a download or a power cycle since
  Written,  // the program wrote it
  Read,     // read back from the converter
  Reset,    // RSTIN low put it to its reset value
};

using RegisterClock = std::chrono::system_clock;

struct RegisterState {
  uint16_t Code = 0; // meaningful unless Origin is NotKnown
  RegisterOrigin Origin = RegisterOrigin::NotKnown;
  RegisterClock::time_point ReadAt{}; // when Origin is Read

  bool IsKnown() const { return Origin != RegisterOrigin::NotKnown; }
};

// Told after every change of what the model knows.
class RegisterModelObserver {
public:
  virtual void OnRegistersChanged() = 0;

protected:
  ~RegisterModelObserver() = default;
};

class RegisterModel : public BoardCallListener {
public:
  using ClockFunction = RegisterClock::time_point (*)();
  explicit RegisterModel(ClockFunction clock = &RegisterClock::now) : clock_(clock) {}

  void OnBoardCall(const BoardCall &call) override;

  // One of ReadableRegisters; any other address is not known.
  RegisterState State(WordAddress address) const;
  std::optional<uint16_t> KnownCode(WordAddress address) const;
  // The lines as last sent successfully; nothing after a failure or a download.
  std::optional<ControlLines> Lines() const { return lines_; }
  // Whether the converter's SDO is disabled, when the function register says.
  std::optional<bool> SdoDisabled() const;

  // Everything becomes not known, as after the board's supply was cycled.
  void ForgetEverything();

  // Observers are told in the order added; each must stay until removed.
  void AddObserver(RegisterModelObserver *observer);
  void RemoveObserver(RegisterModelObserver *observer);

private:
  void OnFrame(const BoardCall &call);
  void OnControlLines(const BoardCall &call);
  void TakeReadAnswer(const BoardCall &call, WordAddress repeated);
  void Write(uint8_t select, uint8_t address, uint16_t data);
  void Forget(uint8_t select, uint8_t address);
  void ResetRegisters(bool binaryCoding);
  bool HeldInReset() const { return lines_ && !lines_->Rstin; }
  RegisterState *Slot(uint8_t select, uint8_t address);
  void Changed();

  ClockFunction clock_;
  std::array<RegisterState, ReadableRegisterCount> registers_{};
  std::optional<ControlLines> lines_;
  // The register a read word asked for: the next frame clocks it out.
  std::optional<WordAddress> pendingRead_;
  std::vector<RegisterModelObserver *> observers_;
};

} // namespace vq
