// The simulated evaluation board behind both library interfaces: the USB
// session (search, connect, firmware download), the vendor requests of the
// board firmware, and the converter and temperature sensor they reach.
#pragma once

#include "board/board_status.h"
#include "simboard/converter_model.h"
#include "simboard/sim_board_api.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

namespace vq::sim {

// Search_For_Boards, Connect, Download_Firmware and the requests return the
// values of the one status table (board/board_status.h); LoadFirmWare reports
// success as 1 and failure as 0, or, with the board unplugged, as NoBoard
// negated.
constexpr int16_t LoadFirmwareSucceeded = 1;
constexpr int16_t LoadFirmwareFailed = 0;

// The handle Connect hands out, and the number under which the one board is
// listed in the first byte of the board list.
constexpr int32_t BoardHandleValue = 0x8231;
constexpr uint8_t BoardNumber = 1;

// Longest firmware path taken; a path buffer without a terminator within it
// is refused rather than read past its end.
constexpr std::size_t MaxFirmwarePathBytes = 4096;

class SimulatedBoard final : public BoardControl {
public:
  SimulatedBoard();

  // Four-operation interface.
  int32_t SearchForBoards(uint16_t vendorId, uint16_t productId, int32_t *count, uint8_t *boardList);
  int32_t Connect(uint16_t vendorId, uint16_t productId, uint8_t boardNumber, int32_t *handle);
  int16_t DownloadFirmware(int32_t handle, const uint8_t *path);
  int16_t VendorRequest(int32_t handle, int32_t request, int32_t value, int32_t index, int32_t direction,
                        int32_t length, uint8_t *buffer);

  // Two-operation interface: no search, no connect, no handle.
  int16_t LoadFirmware(const uint8_t *path);
  int16_t VendorIoRequest(int32_t request, int32_t value, int32_t index, int32_t direction, int32_t length,
                          uint8_t *buffer);

  double OutputVoltage(int channel) const override;
  ChannelRegisters Registers(int channel) const override;
  ChannelErrors Errors(int channel) const override;
  uint8_t FunctionRegister() const override;
  ControlLines Lines() const override;
  DigitalLineState D0() const override;
  DigitalLineState D1() const override;
  bool FirmwareRunning() const override;
  std::string FirmwareProblem() const override;
  void SetDieTemperature(double celsius) override;
  double DieTemperature() const override;
  void SetErrorSeed(uint32_t seed) override;
  uint32_t ErrorSeed() const override;
  void PowerCycle() override;
  void PowerCycleConverter() override;
  void SetPluggedIn(bool pluggedIn) override;
  bool PluggedIn() const override;

private:
  void PowerCycleLocked();
  // Why a request on `handle` reaches no board: Gone while the board is
  // unplugged, or for the handle of a connect made before it was.
  std::optional<BoardStatus> Unreachable(int32_t handle) const;
  // Returns the download's status.
  BoardStatus Download(const uint8_t *path);
  int16_t Request(int32_t request, int32_t value, int32_t index, int32_t direction, int32_t length, uint8_t *buffer);
  static void CheckChannel(int channel);

  mutable std::mutex mutex_;
  ConverterModel converter_;
  bool connected_ = false;
  bool pluggedIn_ = true;
  // Unplugged since the last Connect: the handle it gave reaches no board.
  bool lostSinceConnect_ = false;
  bool firmwareRunning_ = false;
  std::string firmwareProblem_;
  double dieTemperature_ = DefaultDieTemperature;
  uint32_t errorSeed_ = DefaultErrorSeed;
};

} // namespace vq::sim
