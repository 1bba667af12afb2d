#include "simboard/simulated_board.h"

#include "board/board_library.h"
#include "board/zero_terminated_text.h"
#include "simboard/channel_errors.h"
#include "simboard/firmware_file.h"
#include "simboard/firmware_requests.h"

#include <array>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>

namespace vq::sim {

namespace {

using Lock = std::lock_guard<std::mutex>;

constexpr const char *UnpluggedProblem = "The board is unplugged.";

int16_t Returned(BoardStatus status) {
  return StatusValue(status);
}

} // namespace

SimulatedBoard::SimulatedBoard() {
  PowerCycleLocked();
}

void SimulatedBoard::PowerCycleLocked() {
  converter_.PowerOn();
  errorSeed_ = DefaultErrorSeed;
  converter_.SetErrors(ErrorsFromSeed(errorSeed_));
  dieTemperature_ = DefaultDieTemperature;
  connected_ = false;
  pluggedIn_ = true;
  lostSinceConnect_ = false;
  firmwareRunning_ = false;
  firmwareProblem_.clear();
}

int32_t SimulatedBoard::SearchForBoards(uint16_t vendorId, uint16_t productId, int32_t *count, uint8_t *boardList) {
  if (count == nullptr || boardList == nullptr)
    return Returned(BoardStatus::BadArgument);
  Lock lock(mutex_);
  const bool ours = vendorId == VQ_VENDOR_ID && productId == VQ_PRODUCT_ID && pluggedIn_;
  *count = ours ? 1 : 0;
  if (!pluggedIn_)
    return Returned(BoardStatus::NoBoard);
  if (ours)
    boardList[0] = BoardNumber;
  return Returned(BoardStatus::Success);
}

int32_t SimulatedBoard::Connect(uint16_t vendorId, uint16_t productId, uint8_t boardNumber, int32_t *handle) {
  if (handle == nullptr)
    return Returned(BoardStatus::BadArgument);
  Lock lock(mutex_);
  if (!pluggedIn_ || vendorId != VQ_VENDOR_ID || productId != VQ_PRODUCT_ID || boardNumber != BoardNumber)
    return Returned(BoardStatus::NoBoard);
  connected_ = true;
  lostSinceConnect_ = false;
  *handle = BoardHandleValue;
  return Returned(BoardStatus::Success);
}

int16_t SimulatedBoard::DownloadFirmware(int32_t handle, const uint8_t *path) {
  Lock lock(mutex_);
  if (const std::optional<BoardStatus> lost = Unreachable(handle))
    return Returned(*lost);
  if (!connected_ || handle != BoardHandleValue)
    return Returned(BoardStatus::UnknownHandle);
  return Returned(Download(path));
}

int16_t SimulatedBoard::LoadFirmware(const uint8_t *path) {
  Lock lock(mutex_);
  if (!pluggedIn_) {
    firmwareProblem_ = UnpluggedProblem;
    return static_cast<int16_t>(-StatusValue(BoardStatus::NoBoard));
  }
  return Download(path) == BoardStatus::Success ? LoadFirmwareSucceeded : LoadFirmwareFailed;
}

// A download restarts the board's processor: a failed one leaves it without
// firmware. The converter keeps its state; it is not reset by the board's USB side.
BoardStatus SimulatedBoard::Download(const uint8_t *path) {
  firmwareRunning_ = false;
  const std::optional<std::string> file = ZeroTerminatedText(path, MaxFirmwarePathBytes + 1);
  if (!file) {
    firmwareProblem_ = "The firmware path is missing or not terminated.";
    return BoardStatus::BadArgument;
  }
  HexCheck check = CheckFirmwareFile(*file);
  firmwareProblem_ = std::move(check.Problem);
  if (!check.Valid)
    return check.Read ? BoardStatus::FirmwareRefused : BoardStatus::FirmwareUnreadable;
  firmwareRunning_ = true;
  return BoardStatus::Success;
}

int16_t SimulatedBoard::VendorRequest(int32_t handle, int32_t request, int32_t value, int32_t index, int32_t direction,
                                      int32_t length, uint8_t *buffer) {
  Lock lock(mutex_);
  if (const std::optional<BoardStatus> lost = Unreachable(handle))
    return Returned(*lost);
  if (!connected_ || handle != BoardHandleValue)
    return Returned(BoardStatus::UnknownHandle);
  return Request(request, value, index, direction, length, buffer);
}

int16_t SimulatedBoard::VendorIoRequest(int32_t request, int32_t value, int32_t index, int32_t direction,
                                        int32_t length, uint8_t *buffer) {
  Lock lock(mutex_);
  if (!pluggedIn_)
    return Returned(BoardStatus::Gone);
  return Request(request, value, index, direction, length, buffer);
}

int16_t SimulatedBoard::Request(int32_t request, int32_t value, int32_t index, int32_t direction, int32_t length,
                                uint8_t *buffer) {
  // Without its firmware the board's processor takes no vendor request.
  if (!firmwareRunning_)
    return Returned(BoardStatus::Refused);
  return Returned(
      CarryOutFirmwareRequest(converter_, dieTemperature_, request, value, index, direction, length, buffer));
}

void SimulatedBoard::CheckChannel(int channel) {
  if (channel < 0 || channel >= ChannelCount)
    throw std::out_of_range("The simulated board has channels 0 to 3 (DAC A to D), not " + std::to_string(channel) +
                            ".");
}

double SimulatedBoard::OutputVoltage(int channel) const {
  CheckChannel(channel);
  Lock lock(mutex_);
  return converter_.OutputVoltage(channel);
}

ChannelRegisters SimulatedBoard::Registers(int channel) const {
  CheckChannel(channel);
  Lock lock(mutex_);
  return converter_.Registers(channel);
}

ChannelErrors SimulatedBoard::Errors(int channel) const {
  CheckChannel(channel);
  Lock lock(mutex_);
  return converter_.Errors(channel);
}

uint8_t SimulatedBoard::FunctionRegister() const {
  Lock lock(mutex_);
  return converter_.FunctionRegister();
}

ControlLines SimulatedBoard::Lines() const {
  Lock lock(mutex_);
  return converter_.Lines();
}

DigitalLineState SimulatedBoard::D0() const {
  Lock lock(mutex_);
  return converter_.LineState(DigitalLine::D0);
}

DigitalLineState SimulatedBoard::D1() const {
  Lock lock(mutex_);
  return converter_.LineState(DigitalLine::D1);
}

bool SimulatedBoard::FirmwareRunning() const {
  Lock lock(mutex_);
  return firmwareRunning_;
}

std::string SimulatedBoard::FirmwareProblem() const {
  Lock lock(mutex_);
  return firmwareProblem_;
}

void SimulatedBoard::SetDieTemperature(double celsius) {
  if (!std::isfinite(celsius))
    throw std::invalid_argument("The die temperature must be a finite number of degrees Celsius.");
  Lock lock(mutex_);
  dieTemperature_ = celsius;
}

double SimulatedBoard::DieTemperature() const {
  Lock lock(mutex_);
  return dieTemperature_;
}

void SimulatedBoard::SetErrorSeed(uint32_t seed) {
  Lock lock(mutex_);
  errorSeed_ = seed;
  converter_.SetErrors(ErrorsFromSeed(seed));
}

uint32_t SimulatedBoard::ErrorSeed() const {
  Lock lock(mutex_);
  return errorSeed_;
}

std::optional<BoardStatus> SimulatedBoard::Unreachable(int32_t handle) const {
  if (handle == BoardHandleValue && (!pluggedIn_ || lostSinceConnect_))
    return BoardStatus::Gone;
  return std::nullopt;
}

// Pulling the cable takes the board's power: the firmware stops and the
// converter loses its registers. Plugged back in, it waits for a connect and
// a download as after power-up.
void SimulatedBoard::SetPluggedIn(bool pluggedIn) {
  Lock lock(mutex_);
  if (pluggedIn == pluggedIn_)
    return;
  pluggedIn_ = pluggedIn;
  if (pluggedIn)
    return;
  lostSinceConnect_ = connected_;
  connected_ = false;
  firmwareRunning_ = false;
  firmwareProblem_ = UnpluggedProblem;
  converter_.PowerOn();
}

bool SimulatedBoard::PluggedIn() const {
  Lock lock(mutex_);
  return pluggedIn_;
}

void SimulatedBoard::PowerCycle() {
  Lock lock(mutex_);
  PowerCycleLocked();
}

void SimulatedBoard::PowerCycleConverter() {
  Lock lock(mutex_);
  converter_.CycleSupply();
}

} // namespace vq::sim
