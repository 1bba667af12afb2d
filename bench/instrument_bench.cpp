// What one SCPI command costs the program on the simulated board through the
// real library path: `SOURce1:CODE <n>` read, checked and run by the bench
// instrument, beside the one request it sends made directly. The difference
// is the command's own share.
#include "board/board_session.h"
#include "board/four_operation_link.h"
#include "board/serial_access.h"
#include "boardlog/register_model.h"
#include "instrument/bench_instrument.h"

#include <benchmark/benchmark.h>

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct SimulatedInstrument {
  SimulatedInstrument() {
    session.ProgramDirectory = VQ_BIN_DIR;
    session.SetFirmwarePath();
    session.CopyFirmwarePath(session.FirmwarePath);
    if (!link.DownloadSucceeded(link.ConnectAndDownload(session)))
      throw std::runtime_error("the simulated board refused the firmware");
    link.AddCallListener(&model);
  }
  vq::FourOperationLink link{vq::FourOperationLibraryPath(VQ_BIN_DIR)};
  vq::BoardSession session;
  vq::RegisterModel model;
  vq::SerialAccess serial{link};
  vq::BenchInstrument instrument{serial, model, {}};
};

SimulatedInstrument &Board() {
  static SimulatedInstrument board;
  return board;
}

// A sweep's lines, made before the clock runs.
std::array<std::string, 256> SweepLines() {
  std::array<std::string, 256> lines;
  for (std::size_t i = 0; i < lines.size(); ++i)
    lines[i] = "SOURce1:CODE " + std::to_string(i * 257);
  return lines;
}

void BM_SourceCodeCommand(benchmark::State &state) {
  auto &board = Board();
  const auto lines = SweepLines();
  std::vector<std::string> answers;
  std::size_t i = 0;
  for (auto _ : state) {
    board.instrument.Run(lines[i++ & 255], answers);
    benchmark::DoNotOptimize(answers.data());
  }
  if (board.instrument.Interpreter().Errors().Count() != 0)
    state.SkipWithError("a command queued an error");
}
BENCHMARK(BM_SourceCodeCommand);

// The same request sent directly, with the register model listening.
void BM_SourceCodeRequestOnly(benchmark::State &state) {
  auto &board = Board();
  int32_t code = 0;
  for (auto _ : state)
    board.serial.WriteRegister({vq::Register::Data, vq::Channel::A}, (code += 257) & 0xFFFF, true);
}
BENCHMARK(BM_SourceCodeRequestOnly);

void BM_VoltageCommand(benchmark::State &state) {
  auto &board = Board();
  std::vector<std::string> answers;
  for (auto _ : state)
    board.instrument.Run("SOUR2:VOLT 1.25", answers);
}
BENCHMARK(BM_VoltageCommand);

} // namespace

BENCHMARK_MAIN();
