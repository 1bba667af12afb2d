// The exported entry points of a simulated board library. This one source is
// built twice: with VQ_SIM_FOUR_OPERATION it becomes KVL_CYUSB_USB4 (search,
// connect, download, vendor request), with VQ_SIM_TWO_OPERATION it becomes
// USBFunctions (firmware load and vendor request, no handle). Each library
// holds one board, reachable from C++ through VqSim_Board.
#include "board/board_exports.h"
#include "board/board_library.h"
#include "board/board_status.h"
#include "simboard/sim_board_api.h"
#include "simboard/simulated_board.h"
#if defined(VQ_SIM_FAULTS)
#include "simboard/fault_plan.h"
#include <algorithm>
#include <vector>
#endif

#include <type_traits>

#if defined(VQ_SIM_FOUR_OPERATION) == defined(VQ_SIM_TWO_OPERATION)
#error "Define exactly one of VQ_SIM_FOUR_OPERATION and VQ_SIM_TWO_OPERATION."
#endif

namespace {

using vq::BoardStatus;
using vq::CallCatching;
using vq::StatusValue;

vq::sim::SimulatedBoard &Board() {
  static vq::sim::SimulatedBoard board;
  return board;
}

#if defined(VQ_SIM_FAULTS)
// Stands between the caller and the board: decides which request a fault
// strikes, and how many bytes of a read reach the caller.
class Faults final : public vq::sim::FaultControl {
public:
  void SetPlan(const vq::sim::FaultPlan &plan) override {
    plan_ = plan;
    counted_ = 0;
  }
  vq::sim::FaultPlan Plan() const override { return plan_; }
  long long Injected() const override { return injected_; }

  template <typename Call> int16_t Request(int32_t direction, int32_t length, uint8_t *buffer, Call call) {
    ++counted_;
    const bool dead = plan_.AnswersLeft >= 0 && plan_.AnswersLeft-- == 0;
    if (dead)
      plan_.AnswersLeft = 0;
    if (dead || (plan_.FailEvery > 0 && counted_ % plan_.FailEvery == 0)) {
      ++injected_;
      return StatusValue(BoardStatus::NoAnswer);
    }
    if (direction != 1 || plan_.ReadBytes < 0 || length <= plan_.ReadBytes || buffer == nullptr)
      return call(buffer);
    std::vector<uint8_t> full(static_cast<std::size_t>(length));
    const int16_t status = call(full.data());
    std::copy_n(full.begin(), plan_.ReadBytes, buffer);
    ++injected_;
    return status;
  }

private:
  vq::sim::FaultPlan plan_;
  long long counted_ = 0;
  long long injected_ = 0;
};

Faults &FaultsOfBoard() {
  static Faults faults;
  return faults;
}
#endif

// A request, through the fault plan where the library plays one.
template <typename Call> int16_t Requested(int32_t direction, int32_t length, uint8_t *buffer, Call call) {
#if defined(VQ_SIM_FAULTS)
  return FaultsOfBoard().Request(direction, length, buffer, call);
#else
  (void)direction;
  (void)length;
  return call(buffer);
#endif
}

} // namespace

extern "C" {

VQ_BOARD_EXPORT vq::sim::BoardControl *VqSim_Board() {
  return &Board();
}

#if defined(VQ_SIM_FAULTS)
VQ_BOARD_EXPORT vq::sim::FaultControl *VqSim_Faults() {
  return &FaultsOfBoard();
}
#endif

VQ_BOARD_EXPORT const char *VqBoard_StatusText(int32_t status) {
  return vq::BoardStatusText(status);
}

#if defined(VQ_SIM_FOUR_OPERATION)

VQ_BOARD_EXPORT int32_t VQ_BOARD_CALL Search_For_Boards(uint16_t VendorId, uint16_t ProductId, int32_t *count,
                                                        uint8_t *BoardList) {
  return CallCatching([&] { return Board().SearchForBoards(VendorId, ProductId, count, BoardList); },
                      int32_t{StatusValue(BoardStatus::NoBoard)});
}

VQ_BOARD_EXPORT int32_t VQ_BOARD_CALL Connect(uint16_t VendorId, uint16_t ProductId, uint8_t boardNumber,
                                              int32_t *handle) {
  return CallCatching([&] { return Board().Connect(VendorId, ProductId, boardNumber, handle); },
                      int32_t{StatusValue(BoardStatus::NoBoard)});
}

VQ_BOARD_EXPORT int16_t VQ_BOARD_CALL Download_Firmware(int32_t handle, uint8_t *path) {
  return CallCatching([&] { return Board().DownloadFirmware(handle, path); },
                      StatusValue(BoardStatus::FirmwareUnreadable));
}

VQ_BOARD_EXPORT int16_t VQ_BOARD_CALL Vendor_Request(int32_t handle, uint8_t request, int32_t value, int32_t index,
                                                     uint8_t direction, int16_t length, uint8_t *buffer) {
  return CallCatching(
      [&] {
        return Requested(direction, length, buffer, [&](uint8_t *bytes) {
          return Board().VendorRequest(handle, request, value, index, direction, length, bytes);
        });
      },
      StatusValue(BoardStatus::BadArgument));
}

#else

VQ_BOARD_EXPORT int16_t VQ_BOARD_CALL LoadFirmWare(uint8_t *path) {
  return CallCatching([&] { return Board().LoadFirmware(path); }, vq::sim::LoadFirmwareFailed);
}

VQ_BOARD_EXPORT int16_t VQ_BOARD_CALL VendorIORequest(int16_t request, int32_t value, int32_t index, int16_t direction,
                                                      int16_t length, uint8_t *buffer) {
  return CallCatching(
      [&] {
        return Requested(direction, length, buffer, [&](uint8_t *bytes) {
          return Board().VendorIoRequest(request, value, index, direction, length, bytes);
        });
      },
      StatusValue(BoardStatus::BadArgument));
}

#endif

} // extern "C"

// The definitions above must have exactly the types the program loads them as.
static_assert(std::is_same_v<decltype(&VqSim_Board), VqSim_Board_Fn>);
static_assert(std::is_same_v<decltype(&VqBoard_StatusText), VqBoard_StatusText_Fn>);
#if defined(VQ_SIM_FAULTS)
static_assert(std::is_same_v<decltype(&VqSim_Faults), VqSim_Faults_Fn>);
#endif
#if defined(VQ_SIM_FOUR_OPERATION)
static_assert(std::is_same_v<decltype(&Search_For_Boards), Search_For_Boards_Fn>);
static_assert(std::is_same_v<decltype(&Connect), Connect_Fn>);
static_assert(std::is_same_v<decltype(&Download_Firmware), Download_Firmware_Fn>);
static_assert(std::is_same_v<decltype(&Vendor_Request), Vendor_Request_Fn>);
#else
static_assert(std::is_same_v<decltype(&LoadFirmWare), LoadFirmWare_Fn>);
static_assert(std::is_same_v<decltype(&VendorIORequest), VendorIORequest_Fn>);
#endif
