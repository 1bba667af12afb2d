#include "ctl/scpi_server.h"

#include "ctl/line_assembler.h"

#include <asio.hpp>

#include <array>
#include <csignal>
#include <ostream>
#include <string>
#include <vector>

namespace vq::ctl {

using asio::ip::tcp;

namespace {

// One connected client: its socket, its unfinished line and the answers on
// their way to it.
struct Client {
  explicit Client(tcp::socket connected) : Socket(std::move(connected)) {}

  tcp::socket Socket;
  LineAssembler Lines;
  std::array<char, 16 * 1024> Received{};
  std::string Pending; // answers not yet handed to the socket
  std::string Sending; // answers the socket is writing now
  bool Writing = false;
  bool ReadPaused = false;
};

std::string Printable(const tcp::endpoint &endpoint) {
  const asio::ip::address address = endpoint.address();
  const std::string host = address.is_v6() ? "[" + address.to_string() + "]" : address.to_string();
  return host + ":" + std::to_string(endpoint.port());
}

} // namespace

class ScpiServer::Impl {
public:
  Impl(remote::Interpreter &interpreter, std::ostream &out, std::ostream &err)
      : interpreter_(interpreter), out_(out), err_(err), acceptor_(io_), signals_(io_) {}

  bool Serve(const ServeAddress &where) {
    asio::error_code failed;
    const asio::ip::address address = asio::ip::make_address(where.Host, failed);
    if (failed) {
      err_ << "vq8231ctl: \"" << where.Host << "\" is not a numeric IPv4 or IPv6 address\n";
      return false;
    }
    const tcp::endpoint endpoint(address, where.Port);
    acceptor_.open(endpoint.protocol(), failed);
    if (!failed)
      acceptor_.set_option(tcp::acceptor::reuse_address(true), failed);
    if (!failed)
      acceptor_.bind(endpoint, failed);
    if (!failed)
      acceptor_.listen(asio::socket_base::max_listen_connections, failed);
    if (failed) {
      err_ << "vq8231ctl: cannot listen on " << Printable(endpoint) << ": " << failed.message() << '\n';
      return false;
    }
    if (!address.is_loopback())
      err_ << "vq8231ctl: warning: listening on " << address.to_string()
           << ": anyone who can reach this address can drive the board\n";
    signals_.add(SIGINT);
    signals_.add(SIGTERM);
    signals_.async_wait([this](const asio::error_code &, int) { Stop(); });
    out_ << "listening on " << Printable(acceptor_.local_endpoint()) << std::endl;
    Accept();
    io_.run();
    return true;
  }

private:
  void Stop() {
    asio::error_code ignored;
    acceptor_.close(ignored);
    if (client_)
      client_->Socket.close(ignored);
    client_.reset();
    io_.stop();
  }

  void Accept() {
    acceptor_.async_accept([this](const asio::error_code &failed, tcp::socket socket) {
      if (failed == asio::error::operation_aborted || !acceptor_.is_open())
        return;
      if (!failed)
        Welcome(std::move(socket));
      Accept();
    });
  }

  void Welcome(tcp::socket socket) {
    asio::error_code ignored;
    if (client_) {
      // The client being served goes on undisturbed; this one learns why it
      // is turned away. A fresh socket takes five bytes without waiting.
      asio::write(socket, asio::buffer("busy\n", 5), ignored);
      socket.shutdown(tcp::socket::shutdown_both, ignored);
      socket.close(ignored);
      return;
    }
    socket.set_option(tcp::no_delay(true), ignored);
    client_ = std::make_shared<Client>(std::move(socket));
    Read(client_);
  }

  void Drop(const std::shared_ptr<Client> &client) {
    if (client != client_)
      return;
    asio::error_code ignored;
    client->Socket.close(ignored);
    client_.reset(); // an unfinished line goes with it, unrun
  }

  void Read(const std::shared_ptr<Client> &client) {
    client->Socket.async_read_some(asio::buffer(client->Received),
                                   [this, client](const asio::error_code &failed, std::size_t size) {
                                     if (client != client_)
                                       return;
                                     if (failed) {
                                       Drop(client);
                                       return;
                                     }
                                     Take(*client, std::string_view(client->Received.data(), size));
                                     Send(client);
                                     if (client->Pending.size() > MaxPendingAnswers)
                                       client->ReadPaused = true;
                                     else
                                       Read(client);
                                   });
  }

  void Take(Client &client, std::string_view bytes) {
    client.Lines.Feed(
        bytes,
        [this, &client](std::string_view line) {
          answers_.clear();
          interpreter_.Run(line, answers_);
          for (const std::string &answer : answers_) {
            client.Pending += answer;
            client.Pending += '\n';
          }
        },
        [this] {
          interpreter_.Errors().Push(remote::ErrorCode::SyntaxError,
                                     "line longer than " + std::to_string(LineAssembler::MaxLineLength) + " bytes");
        });
  }

  void Send(const std::shared_ptr<Client> &client) {
    if (client->Writing || client->Pending.empty())
      return;
    client->Writing = true;
    client->Sending.swap(client->Pending);
    client->Pending.clear();
    asio::async_write(client->Socket, asio::buffer(client->Sending),
                      [this, client](const asio::error_code &failed, std::size_t) {
                        if (client != client_)
                          return;
                        client->Writing = false;
                        client->Sending.clear();
                        if (failed) {
                          Drop(client);
                          return;
                        }
                        Send(client);
                        if (client->ReadPaused && client->Pending.size() <= MaxPendingAnswers) {
                          client->ReadPaused = false;
                          Read(client);
                        }
                      });
  }

  remote::Interpreter &interpreter_;
  std::ostream &out_;
  std::ostream &err_;
  asio::io_context io_;
  tcp::acceptor acceptor_;
  asio::signal_set signals_;
  std::shared_ptr<Client> client_;
  std::vector<std::string> answers_;
};

ScpiServer::ScpiServer(remote::Interpreter &interpreter, std::ostream &out, std::ostream &err)
    : impl_(std::make_unique<Impl>(interpreter, out, err)) {}

ScpiServer::~ScpiServer() = default;

bool ScpiServer::Serve(const ServeAddress &address) {
  return impl_->Serve(address);
}

} // namespace vq::ctl
