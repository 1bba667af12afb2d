// vq8231ctl --serve over loopback on the simulated board: a client streams
// 100,000 command lines and one *OPC?, and waits for its answer. The figure is
// the whole program's: socket, line cutting, interpreter, board library.
#include <asio.hpp>
#include <benchmark/benchmark.h>

#include <csignal>
#include <cstdio>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

constexpr int Lines = 100000;

// The server on a free loopback port, for the whole run.
class Server {
public:
  Server() {
    int out[2];
    if (pipe(out) != 0)
      return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string program = VQ_CTL;
    char serve[] = "--serve";
    char address[] = "127.0.0.1:0";
    char *argv[] = {program.data(), serve, address, nullptr};
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, environ) != 0)
      pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string line;
    char c = 0;
    while (read(out[0], &c, 1) == 1 && c != '\n')
      line += c;
    close(out[0]);
    if (const auto colon = line.rfind(':'); line.rfind("listening on ", 0) == 0 && colon != std::string::npos)
      port_ = static_cast<unsigned short>(std::stoi(line.substr(colon + 1)));
  }
  ~Server() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  unsigned short Port() const { return port_; }

private:
  pid_t pid_ = -1;
  unsigned short port_ = 0;
};

Server &TheServer() {
  static Server server;
  return server;
}

std::string ReadLine(asio::ip::tcp::socket &socket, asio::streambuf &received) {
  asio::read_until(socket, received, '\n');
  std::istream in(&received);
  std::string line;
  std::getline(in, line);
  return line;
}

// `format` takes the line's number (0..99,999) and is cut to 16 bits.
void Stream(benchmark::State &state, const char *format) {
  if (TheServer().Port() == 0) {
    state.SkipWithError("vq8231ctl did not start serving");
    return;
  }
  asio::io_context io;
  asio::ip::tcp::socket socket(io);
  socket.connect({asio::ip::make_address("127.0.0.1"), TheServer().Port()});
  socket.set_option(asio::ip::tcp::no_delay(true));
  asio::write(socket, asio::buffer(std::string("*CLS\n"))); // the queue outlives a client
  std::string lines;
  char line[64];
  for (int n = 0; n < Lines; ++n) {
    const int length = std::snprintf(line, sizeof line, format, n & 0xFFFF);
    lines.append(line, static_cast<std::size_t>(length));
  }
  lines += "*OPC?\n";
  asio::streambuf received;
  for (auto _ : state) {
    asio::write(socket, asio::buffer(lines));
    if (ReadLine(socket, received) != "1")
      state.SkipWithError("*OPC? did not answer 1");
  }
  asio::write(socket, asio::buffer(std::string("SYST:ERR:COUN?\n")));
  if (const std::string errors = ReadLine(socket, received); errors != "0")
    state.SkipWithError(("the lines queued errors: " + errors).c_str());
  state.SetItemsProcessed(state.iterations() * Lines);
}

// The fast path of a sweep: one data-register write per line.
void Loopback_SourceCode(benchmark::State &state) {
  Stream(state, "SOUR1:CODE %d\n");
}
// A command that does nothing: what the socket and the line cutting cost.
void Loopback_Wait(benchmark::State &state) {
  Stream(state, "*WAI\n");
}

BENCHMARK(Loopback_SourceCode)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(Loopback_Wait)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

BENCHMARK_MAIN();
