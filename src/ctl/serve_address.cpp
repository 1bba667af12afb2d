#include "ctl/serve_address.h"

namespace vq::ctl {
namespace {

bool ReadPort(std::string_view text, uint16_t &port) {
  if (text.empty() || text.size() > 5)
    return false;
  uint32_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9')
      return false;
    value = value * 10 + static_cast<uint32_t>(c - '0');
  }
  if (value > 65535)
    return false;
  port = static_cast<uint16_t>(value);
  return true;
}

} // namespace

std::variant<ServeAddress, std::string> ParseServeAddress(std::string_view text) {
  ServeAddress address;
  std::string_view port = text;
  if (!text.empty() && text.front() == '[') {
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos || close + 1 >= text.size() || text[close + 1] != ':')
      return std::string("an IPv6 address goes in brackets before the port: [::1]:5025");
    address.Host = std::string(text.substr(1, close - 1));
    port = text.substr(close + 2);
  } else if (const std::size_t colon = text.rfind(':'); colon != std::string_view::npos) {
    address.Host = std::string(text.substr(0, colon));
    port = text.substr(colon + 1);
    if (address.Host.find(':') != std::string::npos)
      return std::string("an IPv6 address goes in brackets before the port: [::1]:5025");
  }
  if (address.Host.empty())
    return std::string("the address before the port is empty");
  if (!ReadPort(port, address.Port))
    return "\"" + std::string(port.substr(0, 20)) + "\" is not a port number from 0 to 65535";
  return address;
}

} // namespace vq::ctl
