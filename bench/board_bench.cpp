// How long the serial access routines take on the simulated board through
// the real library path, and the cost of the number rules per keystroke.
#include "board/board_session.h"
#include "board/four_operation_link.h"
#include "board/serial_access.h"
#include "rules/conversions.h"
#include "rules/number_rules.h"

#include <benchmark/benchmark.h>

namespace {

struct SimulatedSession {
  SimulatedSession() {
    session.ProgramDirectory = VQ_BIN_DIR;
    session.SetFirmwarePath();
    session.CopyFirmwarePath(session.FirmwarePath);
    if (!link.DownloadSucceeded(link.ConnectAndDownload(session)))
      throw std::runtime_error("the simulated board refused the firmware");
  }
  vq::FourOperationLink link{vq::FourOperationLibraryPath(VQ_BIN_DIR)};
  vq::BoardSession session;
  vq::SerialAccess access{link};
};

constexpr vq::WordAddress DacBData{vq::Register::Data, vq::Channel::B};

SimulatedSession &Board() {
  static SimulatedSession board;
  return board;
}

void BM_WriteRegister(benchmark::State &state) {
  auto &access = Board().access;
  int32_t code = 0;
  for (auto _ : state)
    access.WriteRegister(DacBData, code++ & 0xFFFF, true);
}
BENCHMARK(BM_WriteRegister);

void BM_ReadRegister(benchmark::State &state) {
  auto &access = Board().access;
  for (auto _ : state)
    benchmark::DoNotOptimize(access.ReadRegister(DacBData));
}
BENCHMARK(BM_ReadRegister);

void BM_FirmwareDownload(benchmark::State &state) {
  auto &board = Board();
  for (auto _ : state)
    benchmark::DoNotOptimize(board.link.ConnectAndDownload(board.session));
}
BENCHMARK(BM_FirmwareDownload);

void BM_VoltageEntryRules(benchmark::State &state) {
  for (auto _ : state) {
    const float v = vq::ToSingle(vq::LeadingNumber(" -1.2345e0 V"));
    benchmark::DoNotOptimize(vq::VoltsToCode(vq::LimitVolts(v, 4.096f), 4.096f, true));
  }
}
BENCHMARK(BM_VoltageEntryRules);

void BM_HexEntryRules(benchmark::State &state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(vq::HexValue("9f40"));
}
BENCHMARK(BM_HexEntryRules);

} // namespace
