// Start-up to the window shown, as ratios to a bare Qt Widgets window: starts
// each program and the bare window in turn, offscreen, with
// VQ_REPORT_WINDOW_SHOWN=quit so each ends once its window is shown, and takes
// the child's CPU time (user + system) and peak resident memory from wait4().
// Prints the medians over the rounds and the ratios.
//
//   startup_bench [rounds] [program...]   (default: 15 rounds, both programs
//                                           on the simulated board in bin/)
//
// The yardstick is the bare window; the bare window with one line of text is
// measured beside it.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Run {
  double cpuMs = 0;
  double peakMiB = 0;
};

// One start of `command` (the program, then its arguments); false when the
// program did not say its window was shown.
bool Start(const std::vector<std::string> &command, Run &run) {
  const std::string &path = command.front();
  int out[2];
  if (pipe(out) != 0)
    return false;
  const pid_t child = fork();
  if (child < 0)
    return false;
  if (child == 0) {
    dup2(out[1], STDERR_FILENO);
    close(out[0]);
    close(out[1]);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("VQ_REPORT_WINDOW_SHOWN", "quit", 1);
    std::vector<char *> arguments;
    for (const std::string &argument : command)
      arguments.push_back(const_cast<char *>(argument.c_str()));
    arguments.push_back(nullptr);
    execv(path.c_str(), arguments.data());
    std::perror(path.c_str());
    _exit(127);
  }
  close(out[1]);
  std::string said;
  char buffer[4096];
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
    said.append(buffer, static_cast<std::size_t>(n));
  close(out[0]);
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child)
    return false;
  run.cpuMs =
      (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
  run.peakMiB = usage.ru_maxrss / 1024.0;
  if (said.find("window shown") == std::string::npos || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s did not show its window (status %d):\n%s\n", path.c_str(), status, said.c_str());
    return false;
  }
  return true;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char *argv[]) {
  int rounds = 15;
  if (argc > 1) {
    char *end = nullptr;
    const long asked = std::strtol(argv[1], &end, 10);
    if (*end != '\0' || asked < 1 || asked > 1000) {
      std::fprintf(stderr, "startup_bench: rounds must be a number from 1 to 1000, not \"%s\"\n", argv[1]);
      return 2;
    }
    rounds = static_cast<int>(asked);
  }
  // The first is the yardstick the ratios are taken to.
  std::vector<std::vector<std::string>> programs{{VQ_BARE_WINDOW}, {VQ_BARE_WINDOW, "--text"}};
  for (int i = 2; i < argc; ++i)
    programs.push_back({argv[i]});
  if (programs.size() == 2) {
    programs.push_back({VQ_BIN_DIR "/VQ8231(version2)"});
    programs.push_back({VQ_BIN_DIR "/VQ8231"});
  }

  // Alternating, so that whatever else the machine does falls on all alike.
  std::vector<std::vector<Run>> runs(programs.size());
  for (int round = 0; round < rounds; ++round)
    for (std::size_t p = 0; p < programs.size(); ++p) {
      Run run;
      if (!Start(programs[p], run))
        return 1;
      runs[p].push_back(run);
    }

  std::printf("%d rounds, medians\n%-40s %10s %10s %10s %10s\n", rounds, "program", "CPU ms", "peak MiB", "CPU x",
              "memory x");
  double bareCpu = 0, bareMemory = 0;
  for (std::size_t p = 0; p < programs.size(); ++p) {
    std::vector<double> cpu, memory;
    for (const Run &run : runs[p]) {
      cpu.push_back(run.cpuMs);
      memory.push_back(run.peakMiB);
    }
    const double c = Median(cpu), m = Median(memory);
    if (p == 0) {
      bareCpu = c;
      bareMemory = m;
    }
    // The program's file and the directory it is in: bin/VQ8231, usb/VQ8231.
    const std::string &path = programs[p].front();
    const std::size_t file = path.rfind('/');
    const std::size_t folder = file == std::string::npos || file == 0 ? std::string::npos : path.rfind('/', file - 1);
    std::string name = folder == std::string::npos ? path : path.substr(folder + 1);
    for (std::size_t a = 1; a < programs[p].size(); ++a)
      name += " " + programs[p][a];
    std::printf("%-40s %10.1f %10.1f %10.2f %10.2f\n", name.c_str(), c, m, c / bareCpu, m / bareMemory);
  }
  return 0;
}
