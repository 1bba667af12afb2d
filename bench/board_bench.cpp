// How long the serial access routines take on the simulated board through
// the real library path, what the request log adds to each request, the
// activity table's model over a full log, and the cost of the number rules per
// keystroke.
#include "board/board_session.h"
#include "board/four_operation_link.h"
#include "board/serial_access.h"
#include "boardlog/log_columns.h"
#include "boardlog/request_log.h"
#include "rules/conversions.h"
#include "rules/number_rules.h"
#include "windows/activity_model.h"

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

// One request (0xDE, the control lines) with nobody listening...
void BM_Request_Bare(benchmark::State &state) {
  auto &access = Board().access;
  for (auto _ : state)
    access.SetControlLines(vq::ControlLines{});
}
BENCHMARK(BM_Request_Bare);

// ...and with the log recording it, as when the activity window is closed.
void BM_Request_Logged(benchmark::State &state) {
  auto &board = Board();
  vq::RequestLog log;
  board.link.SetCallListener(&log);
  for (auto _ : state)
    board.access.SetControlLines(vq::ControlLines{});
  board.link.SetCallListener(nullptr);
  state.counters["kept"] = static_cast<double>(log.Size());
}
BENCHMARK(BM_Request_Logged);

vq::BoardCall DataWrite(int32_t code) {
  vq::BoardCall call;
  call.Request = 0xD9;
  call.Value = 0x11;
  call.Index = code & 0xFFFF;
  return call;
}

// Recording alone, into a full ring (every entry replaces the oldest).
void BM_LogRecord_FullRing(benchmark::State &state) {
  vq::RequestLog log;
  for (std::size_t i = 0; i < log.Capacity(); ++i)
    log.Record(DataWrite(static_cast<int32_t>(i)), 0);
  int32_t code = 0;
  for (auto _ : state)
    log.OnBoardCall(DataWrite(code++));
}
BENCHMARK(BM_LogRecord_FullRing);

// The activity model taking one new entry over a full ring while the window
// is open: the oldest row leaves, the new one arrives.
void BM_ModelAppend_FullRing(benchmark::State &state) {
  vq::RequestLog log;
  for (std::size_t i = 0; i < log.Capacity(); ++i)
    log.Record(DataWrite(static_cast<int32_t>(i)), 0);
  vq::ActivityModel model(log);
  model.Rebuild();
  int32_t code = 0;
  for (auto _ : state) {
    log.OnBoardCall(DataWrite(code++));
    model.Sync();
  }
  state.counters["rows"] = model.rowCount();
}
BENCHMARK(BM_ModelAppend_FullRing);

// The model's data() for the decoded meaning and for a whole row, at rows
// spread over a full ring (what a view asks for each visible cell).
void BM_ModelData_FullRing(benchmark::State &state) {
  vq::RequestLog log;
  for (std::size_t i = 0; i < log.Capacity(); ++i)
    log.Record(DataWrite(static_cast<int32_t>(i)), static_cast<int64_t>(i));
  vq::ActivityModel model(log);
  model.Rebuild();
  const int rows = model.rowCount();
  const bool wholeRow = state.range(0) != 0;
  int row = 0;
  for (auto _ : state) {
    row = (row + 7919) % rows;
    if (wholeRow)
      for (int column = 0; column < model.columnCount(); ++column)
        benchmark::DoNotOptimize(model.data(model.index(row, column)));
    else
      benchmark::DoNotOptimize(model.data(model.index(row, static_cast<int>(vq::LogColumn::Meaning))));
  }
}
BENCHMARK(BM_ModelData_FullRing)->Arg(0)->Arg(1)->ArgName("whole_row");

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
