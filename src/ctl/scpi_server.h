// The raw SCPI socket: newline-terminated command lines in, one answer line
// per query out, one client at a time. It runs until SIGINT or SIGTERM.
#pragma once

#include "ctl/serve_address.h"
#include "remote/interpreter.h"

#include <cstddef>
#include <iosfwd>
#include <memory>

namespace vq::ctl {

class ScpiServer {
public:
  // Answers not yet taken by the client beyond which it is read no further
  // until it takes them: what a client withholds cannot grow the program.
  static constexpr std::size_t MaxPendingAnswers = 64 * 1024;

  // `out` hears "listening on ADDRESS:PORT" once the port is open; `err`
  // the warning for an address other than loopback.
  ScpiServer(remote::Interpreter &interpreter, std::ostream &out, std::ostream &err);
  ~ScpiServer();
  ScpiServer(const ScpiServer &) = delete;
  ScpiServer &operator=(const ScpiServer &) = delete;

  // Serves until SIGINT or SIGTERM (then true), or returns false at once
  // with the reason on `err` when the address cannot be opened.
  bool Serve(const ServeAddress &address);

private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

} // namespace vq::ctl
