// The commands a line may name, as a tree of header nodes. Each command declares its header pattern,
// its parameters and a handler, once for the setting form and once for the query form where it has
// both. A pattern is written the SCPI way, nodes separated by ':':
//
//   "SOURce<1-4>:CODE"      a numeric suffix from 1 to 4 on SOURce (left out, it is 1)
//   "SYSTem:ERRor[:NEXT]"   an optional node
//   "*IDN"                  a common command
#pragma once

#include "remote/error_queue.h"
#include "remote/mnemonic.h"
#include "remote/parameter_rule.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vq::remote {

class CommandContext;
using Handler = std::function<void(CommandContext &)>;

// Limits of a pattern, and of a header a line may give.
inline constexpr std::size_t MaxHeaderNodes = 12;
inline constexpr std::size_t MaxSuffixes = 4;

// One form of a header, the setting or the query, as it was added.
struct CommandForm {
  std::string Pattern;
  bool Query = false;
  std::vector<ParameterRule> Parameters;
  // How many leading parameters must be given.
  std::size_t Required = 0;
  Handler Run;
};

// One node of a header as a line writes it: "SOUR2" is the word "SOUR" with the suffix 2.
struct HeaderNode {
  std::string_view Word;
  bool HasSuffix = false;
  int32_t Suffix = 0;
};

struct HeaderMatch {
  // NoError, UndefinedHeader (no such header, or not in this form) or HeaderSuffixOutOfRange.
  ErrorCode Error = ErrorCode::UndefinedHeader;
  const CommandForm *Form = nullptr;
  // The pattern's suffixes in order, 1 where the header left one out.
  std::array<int32_t, MaxSuffixes> Suffixes{};
};

class CommandTree {
public:
  CommandTree();

  // Add the setting form or the query form of a header (without its '?'). Throws
  // std::invalid_argument for a malformed pattern or parameter list (an optional parameter before a
  // required one), std::logic_error when that form of the header is there already.
  void AddCommand(std::string_view pattern, std::vector<ParameterRule> parameters, Handler handler);
  void AddQuery(std::string_view pattern, std::vector<ParameterRule> parameters, Handler handler);

  // The form a header names. When no header fits, HeaderSuffixOutOfRange if one would with other
  // suffixes, else UndefinedHeader.
  HeaderMatch Find(std::span<const HeaderNode> header, bool query) const;

private:
  struct PatternNode;
  struct Node {
    Mnemonic Word;
    bool HasSuffix = false;
    int32_t SuffixMin = 0;
    int32_t SuffixMax = 0;
    uint8_t Slot = 0;
    std::vector<uint32_t> Children;
    const CommandForm *Command = nullptr;
    const CommandForm *Query = nullptr;
  };
  enum class Walk { Undefined, SuffixOutOfRange, Found };

  void Add(std::string_view pattern, bool query, std::vector<ParameterRule> parameters, Handler handler);
  uint32_t ChildFor(uint32_t parent, const PatternNode &wanted);
  Walk Descend(uint32_t parent, std::span<const HeaderNode> header, std::size_t depth, bool query,
               std::array<uint32_t, MaxHeaderNodes> &path, const CommandForm *&form) const;

  std::vector<Node> nodes_; // nodes_[0] is the root
  std::vector<std::unique_ptr<CommandForm>> forms_;
};

} // namespace vq::remote
