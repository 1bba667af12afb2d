// The server's [ADDRESS:]PORT: a port alone is on the loopback address.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace vq::ctl {

constexpr const char *LoopbackAddress = "127.0.0.1";
constexpr uint16_t DefaultScpiPort = 5025;

struct ServeAddress {
  std::string Host = LoopbackAddress; // a numeric IPv4 or IPv6 address, without brackets
  uint16_t Port = DefaultScpiPort;    // 0: any free port
};

// "5025", "0.0.0.0:5025", "[::1]:5025". Either the address or what is wrong
// with the text.
std::variant<ServeAddress, std::string> ParseServeAddress(std::string_view text);

} // namespace vq::ctl
