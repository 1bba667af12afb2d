// SETup:SAVE "<file>" and SETup:LOAD "<file>": the window's "Save Setup..."
// and "Open Setup...", on the same reader, writer and load sequence.
#include "instrument/bench_commands.h"

#include "boardlog/register_model.h"
#include "setup/setup_file.h"
#include "setup/setup_load.h"

namespace vq {
namespace {

using remote::CommandContext;
using remote::ErrorCode;

// The file a command's name stands for; nothing (the command failed) when
// the rule refuses it.
std::optional<std::string> SetupFilePath(BenchContext &bench, CommandContext &command) {
  const std::string &name = command[0].Text;
  if (!bench.SetupPath)
    return name;
  std::string why;
  std::optional<std::string> path = bench.SetupPath(name, why);
  if (!path)
    command.Fail(ErrorCode::IllegalParameterValue, why);
  return path;
}

// Every register read back as "Read All" reads them: SDO enabled once, then
// the reads. A read that fails leaves what the program last wrote.
void ReadAllRegisters(BenchContext &bench) {
  bench.Settings.Options.SdoDisabled = false;
  WriteFunctionWord(bench);
  for (WordAddress address : ReadableRegisters)
    bench.Serial.ReadRegister(address);
}

void SaveSetup(BenchContext &bench, CommandContext &command) {
  const std::optional<std::string> path = SetupFilePath(bench, command);
  if (!path)
    return;
  ReadAllRegisters(bench);
  const BoardSetup setup =
      SetupFromModel(bench.Model, bench.Settings.Lines, bench.Settings.PulseAfterDataWrite, bench.Settings.Options);
  // Refused when a register is known neither by a read nor by a write.
  if (const WriteResult written = WriteSetupFile(*path, setup); !written.Written())
    command.Fail(ErrorCode::MassStorageError, written.Message);
}

void LoadSetupFile(BenchContext &bench, CommandContext &command) {
  const std::optional<std::string> path = SetupFilePath(bench, command);
  if (!path)
    return;
  const SetupFileReading file = ReadSetupFile(*path);
  if (!file.Value) {
    command.Fail(ErrorCode::MassStorageError, file.Message); // nothing was sent
    return;
  }
  const SetupLoadReport report = LoadSetup(bench.Serial, *file.Value);
  InstrumentSettings &settings = bench.Settings;
  settings.Lines = file.Value->Lines;
  settings.PulseAfterDataWrite = file.Value->PulseAfterDataWrite;
  if (const std::optional<FunctionWord> options = file.Value->Function())
    settings.Options = *options;
  if (!RequestsSucceeded(bench, command))
    return;
  // The load went through, but the converter holds something else.
  if (!report.ReadsBackAsLoaded())
    command.Fail(ErrorCode::HardwareError, report.Summary());
}

} // namespace

void AddSetupCommands(remote::CommandTree &tree, BenchContext &bench) {
  tree.AddCommand("SETup:SAVE", {remote::TextParameter()},
                  OnBench(bench, [&bench](CommandContext &command) { SaveSetup(bench, command); }));
  tree.AddCommand("SETup:LOAD", {remote::TextParameter()},
                  OnBench(bench, [&bench](CommandContext &command) { LoadSetupFile(bench, command); }));
}

} // namespace vq
