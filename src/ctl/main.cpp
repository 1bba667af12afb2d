// vq8231ctl: the board as a bench instrument. Runs SCPI commands given on
// the command line, a script, or serves them on a socket.
#include "ctl/board_connection.h"
#include "ctl/call_log_file.h"
#include "ctl/command_runner.h"
#include "board/program_location.h"
#include "ctl/reconnect_command.h"
#include "ctl/scpi_server.h"
#include "ctl/serve_address.h"
#include "ctl/setup_path.h"

#include "board/four_operation_link.h"
#include "instrument/bench_instrument.h"
#include "remote/interpreter.h"
#include "version/version.h"

#include <CLI/CLI.hpp>

#include <exception>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

using vq::ctl::ExitStatus;

struct Options {
  std::vector<std::string> Commands;
  std::string Script;
  bool KeepGoing = false;
  std::string Library;
  bool Attach = false;
  std::string Serve;
  bool Serving = false;
  std::string SetupDirectory = ".";
  std::string CallLog;
};

int Status(ExitStatus status) {
  return static_cast<int>(status);
}

int Refuse(const std::string &why) {
  std::cerr << "vq8231ctl: " << why << '\n';
  return Status(ExitStatus::NoBoard);
}

int Run(const Options &options) {
  vq::ctl::ServeAddress address;
  if (options.Serving && !options.Serve.empty()) {
    auto parsed = vq::ctl::ParseServeAddress(options.Serve);
    if (const auto *problem = std::get_if<std::string>(&parsed))
      return Refuse("--serve " + options.Serve + ": " + *problem);
    address = std::get<vq::ctl::ServeAddress>(parsed);
  }
  std::ifstream scriptFile;
  if (!options.Script.empty() && options.Script != "-") {
    scriptFile.open(options.Script, std::ios::binary);
    if (!scriptFile)
      return Refuse("cannot open the script " + options.Script);
  }

  // Opened before the board, so that it hears the session's calls too, and
  // closed after it.
  std::optional<vq::ctl::CallLogFile> callLog;
  if (!options.CallLog.empty()) {
    callLog.emplace(options.CallLog);
    if (!callLog->IsOpen())
      return Refuse("cannot write the call log " + options.CallLog);
  }
  const std::string programDirectory = vq::ProgramDirectory();
  vq::ctl::BoardConnection board(
      options.Library.empty() ? vq::FourOperationLibraryPath(programDirectory) : options.Library, programDirectory);
  if (callLog)
    board.Link().AddCallListener(&*callLog);
  if (const auto failure = board.Open(options.Attach))
    return Refuse(*failure);

  vq::BenchInstrument instrument(board.Serial(), board.Registers(), {board.BoardNumber()});
  // As the window's start-up: the converter's options, so that a command
  // that changes one option keeps the others.
  instrument.ReadStartOptions();
  vq::ctl::AddReconnectCommand(instrument, board);
  // A client far away names setup files inside the setup directory only; on
  // the command line the user names any file.
  if (options.Serving)
    instrument.NameSetupFilesBy(vq::ctl::InsideSetupDirectory(options.SetupDirectory));
  vq::remote::Interpreter &interpreter = instrument.Interpreter();

  if (options.Serving) {
    vq::ctl::ScpiServer server(interpreter, std::cout, std::cerr);
    return Status(server.Serve(address) ? ExitStatus::Success : ExitStatus::NoBoard);
  }
  if (!options.Script.empty()) {
    std::istream &in = options.Script == "-" ? std::cin : scriptFile;
    const std::string name = options.Script == "-" ? "<stdin>" : options.Script;
    return Status(vq::ctl::RunScript(interpreter, in, name, options.KeepGoing, std::cout, std::cerr));
  }
  return Status(vq::ctl::RunCommands(interpreter, options.Commands, std::cout, std::cerr));
}

} // namespace

int main(int argc, char **argv) {
  Options options;
  CLI::App app("Runs SCPI commands on the VQ8231 evaluation board: the commands given, a script, or a\n"
               "socket that lab software (PyVISA and the like) drives.\n\n"
               "Exit status: 0 every command ran; 1 a command queued an error (printed on standard\n"
               "error); 2 the board or its library could not be used, or the options are wrong.\n",
               "vq8231ctl");
  app.add_option("commands", options.Commands,
                 "command lines, run in order; each answer is printed on a line of its own");
  app.add_option("-f,--file", options.Script,
                 "run a script: one command line per line, '#' starts a comment; '-' reads standard input");
  app.add_flag("--keep-going", options.KeepGoing, "with -f: run the rest of the script after a line that failed");
  app.add_option("--library", options.Library, "the board library to load (default: the one beside the program)");
  app.add_flag("--attach", options.Attach,
               "use a board whose firmware already runs: no firmware download. A download resets the board's "
               "processor and disturbs any program using the board");
  CLI::Option *serve =
      app.add_option("--serve", options.Serve,
                     "serve SCPI on a socket, one client at a time, until SIGINT or SIGTERM; [ADDRESS:]PORT, "
                     "default 127.0.0.1:5025, port 0 picks a free one")
          ->expected(0, 1);
  app.add_option("--setup-dir", options.SetupDirectory,
                 "with --serve: the directory setup files are saved to and loaded from; names may not leave it "
                 "(default: the current directory)");
  app.add_option("--log", options.CallLog,
                 "write every board library call to this CSV file as it is made, as Board Activity saves it");
  app.set_version_flag("--version", std::string(vq::FullVersion));
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError &error) {
    if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success))
      return app.exit(error); // --help, --version
    return Refuse(std::string(error.what()) + " (--help lists the options)");
  }
  options.Serving = serve->count() > 0;
  const int modes = (options.Serving ? 1 : 0) + (options.Script.empty() ? 0 : 1) + (options.Commands.empty() ? 0 : 1);
  if (modes == 0)
    return Refuse("nothing to do: give command lines, -f SCRIPT or --serve (--help lists the options)");
  if (modes > 1)
    return Refuse("give command lines, -f SCRIPT or --serve, only one of them");
  if (options.KeepGoing && options.Script.empty())
    return Refuse("--keep-going goes with -f SCRIPT");
  try {
    return Run(options);
  } catch (const std::exception &error) {
    return Refuse(error.what());
  }
}
