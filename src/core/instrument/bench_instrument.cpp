#include "instrument/bench_instrument.h"

#include "instrument/bench_commands.h"
#include "remote/answers.h"
#include "version/version.h"

namespace vq {

BenchInstrument::BenchInstrument(SerialAccess &serial, RegisterModel &model, const InstrumentIdentity &identity)
    : bench_{serial, model, identity, {}, {}, {}} {
  remote::CommandTree &tree = interpreter_.Commands();
  tree.AddQuery("*IDN", {}, [this](remote::CommandContext &command) {
    command.Answer("VQ8231 Evaluation Software,VQ8231," + std::to_string(bench_.Identity.BoardNumber) + "," +
                   FullVersion);
  });
  tree.AddCommand("*RST", {}, OnBench(bench_, [this](remote::CommandContext &command) {
                    RunInitialState(bench_);
                    RequestsSucceeded(bench_, command);
                  }));
  AddSourceCommands(tree, bench_);
  AddSwitchCommands(tree, bench_);
  AddMeasurementCommands(tree, bench_);
  AddSetupCommands(tree, bench_);
}

BoardStatus BenchInstrument::ReadStartOptions() {
  const Reading<int32_t> read = bench_.Serial.ReadRegister(Command::FunctionRegister);
  if (read.Answered())
    bench_.Settings.Options = FunctionWord::FromBits(read.Value);
  return read.Status;
}

BoardStatus BenchInstrument::StartAfresh() {
  bench_.Settings = {};
  bench_.LastFailure.reset();
  return ReadStartOptions();
}

} // namespace vq
