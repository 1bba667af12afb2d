#include "remote/command_tree.h"

#include <stdexcept>
#include <utility>

namespace vq::remote {

struct CommandTree::PatternNode {
  Mnemonic Word;
  bool Optional = false;
  bool HasSuffix = false;
  int32_t SuffixMin = 0;
  int32_t SuffixMax = 0;
  uint8_t Slot = 0;
};

namespace {

constexpr std::size_t MaxOptionalNodes = 4;

[[noreturn]] void BadPattern(std::string_view pattern, std::string_view why) {
  throw std::invalid_argument("command pattern \"" + std::string(pattern) + "\": " + std::string(why));
}

// A suffix limit in a pattern: decimal digits, at most six of them.
int32_t ReadLimit(std::string_view pattern, std::size_t &at) {
  const std::size_t start = at;
  int32_t value = 0;
  while (at < pattern.size() && IsAsciiDigit(pattern[at]) && at - start < 6)
    value = value * 10 + (pattern[at++] - '0');
  if (at == start)
    BadPattern(pattern, "a suffix range needs numbers: <1-4>");
  return value;
}

bool SuffixFits(int32_t min, int32_t max, bool hasSuffix, const HeaderNode &given) {
  if (given.HasSuffix)
    return hasSuffix && given.Suffix >= min && given.Suffix <= max;
  return !hasSuffix || (min <= 1 && 1 <= max);
}

} // namespace

CommandTree::CommandTree() : nodes_(1) {}

void CommandTree::AddCommand(std::string_view pattern, std::vector<ParameterRule> parameters, Handler handler) {
  Add(pattern, false, std::move(parameters), std::move(handler));
}

void CommandTree::AddQuery(std::string_view pattern, std::vector<ParameterRule> parameters, Handler handler) {
  Add(pattern, true, std::move(parameters), std::move(handler));
}

void CommandTree::Add(std::string_view pattern, bool query, std::vector<ParameterRule> parameters, Handler handler) {
  std::vector<PatternNode> patternNodes;
  std::size_t optionals = 0;
  uint8_t slots = 0;
  std::size_t at = 0;
  while (at < pattern.size()) {
    PatternNode node;
    node.Optional = pattern[at] == '[';
    if (node.Optional)
      ++at;
    if (at < pattern.size() && pattern[at] == ':')
      ++at;
    else if (!patternNodes.empty())
      BadPattern(pattern, "nodes are separated by ':'");
    std::size_t end = at;
    while (end < pattern.size() && (IsAsciiLetter(pattern[end]) || pattern[end] == '*'))
      ++end;
    node.Word = Mnemonic(pattern.substr(at, end - at));
    at = end;
    if (at < pattern.size() && pattern[at] == '<') {
      ++at;
      node.HasSuffix = true;
      node.SuffixMin = ReadLimit(pattern, at);
      if (at >= pattern.size() || pattern[at] != '-')
        BadPattern(pattern, "a suffix range is written <1-4>");
      ++at;
      node.SuffixMax = ReadLimit(pattern, at);
      if (at >= pattern.size() || pattern[at] != '>' || node.SuffixMin > node.SuffixMax)
        BadPattern(pattern, "a suffix range is written <1-4>");
      ++at;
      if (slots == MaxSuffixes)
        BadPattern(pattern, "too many suffixes");
      node.Slot = slots++;
    }
    if (node.Optional) {
      if (at >= pattern.size() || pattern[at] != ']')
        BadPattern(pattern, "an optional node ends with ']'");
      ++at;
      ++optionals;
    }
    patternNodes.push_back(std::move(node));
  }
  if (patternNodes.empty() || optionals == patternNodes.size() || optionals > MaxOptionalNodes ||
      patternNodes.size() > MaxHeaderNodes)
    BadPattern(pattern, "a header needs one to twelve nodes, at least one of them not optional");
  for (std::size_t i = 0; i < patternNodes.size(); ++i)
    if (patternNodes[i].Word.LongForm().starts_with('*') && (patternNodes.size() != 1 || i != 0))
      BadPattern(pattern, "a common command stands alone");

  auto form = std::make_unique<CommandForm>();
  form->Pattern = pattern;
  form->Query = query;
  form->Parameters = std::move(parameters);
  form->Run = std::move(handler);
  while (form->Required < form->Parameters.size() && !form->Parameters[form->Required].Optional)
    ++form->Required;
  for (std::size_t i = form->Required; i < form->Parameters.size(); ++i)
    if (!form->Parameters[i].Optional)
      BadPattern(pattern, "a required parameter after an optional one");

  // Every choice of the optional nodes is a path of its own through the tree.
  for (unsigned choice = 0; choice < (1u << optionals); ++choice) {
    uint32_t node = 0;
    unsigned optional = 0;
    for (const PatternNode &wanted : patternNodes) {
      if (wanted.Optional && !(choice & (1u << optional++)))
        continue;
      node = ChildFor(node, wanted);
    }
    const CommandForm *&slot = query ? nodes_[node].Query : nodes_[node].Command;
    if (slot)
      throw std::logic_error("command \"" + std::string(pattern) + (query ? "?" : "") + "\" added twice");
    slot = form.get();
  }
  forms_.push_back(std::move(form));
}

uint32_t CommandTree::ChildFor(uint32_t parent, const PatternNode &wanted) {
  for (uint32_t child : nodes_[parent].Children) {
    const Node &node = nodes_[child];
    if (node.Word == wanted.Word && node.HasSuffix == wanted.HasSuffix && node.SuffixMin == wanted.SuffixMin &&
        node.SuffixMax == wanted.SuffixMax && node.Slot == wanted.Slot)
      return child;
  }
  Node node;
  node.Word = wanted.Word;
  node.HasSuffix = wanted.HasSuffix;
  node.SuffixMin = wanted.SuffixMin;
  node.SuffixMax = wanted.SuffixMax;
  node.Slot = wanted.Slot;
  const auto index = static_cast<uint32_t>(nodes_.size());
  nodes_.push_back(std::move(node));
  nodes_[parent].Children.push_back(index);
  return index;
}

CommandTree::Walk CommandTree::Descend(uint32_t parent, std::span<const HeaderNode> header, std::size_t depth,
                                       bool query, std::array<uint32_t, MaxHeaderNodes> &path,
                                       const CommandForm *&form) const {
  Walk best = Walk::Undefined;
  for (uint32_t child : nodes_[parent].Children) {
    const Node &node = nodes_[child];
    if (!node.Word.Matches(header[depth].Word))
      continue;
    path[depth] = child;
    Walk walk = Walk::Undefined;
    if (depth + 1 == header.size()) {
      if (const CommandForm *leaf = query ? node.Query : node.Command) {
        form = leaf;
        walk = Walk::Found;
      }
    } else {
      walk = Descend(child, header, depth + 1, query, path, form);
    }
    if (walk == Walk::Found && !SuffixFits(node.SuffixMin, node.SuffixMax, node.HasSuffix, header[depth]))
      walk = Walk::SuffixOutOfRange;
    if (walk == Walk::Found)
      return walk;
    if (walk > best)
      best = walk;
  }
  return best;
}

HeaderMatch CommandTree::Find(std::span<const HeaderNode> header, bool query) const {
  HeaderMatch match;
  if (header.empty() || header.size() > MaxHeaderNodes)
    return match;
  std::array<uint32_t, MaxHeaderNodes> path{};
  const Walk walk = Descend(0, header, 0, query, path, match.Form);
  if (walk != Walk::Found) {
    match.Form = nullptr;
    match.Error = walk == Walk::SuffixOutOfRange ? ErrorCode::HeaderSuffixOutOfRange : ErrorCode::UndefinedHeader;
    return match;
  }
  match.Error = ErrorCode::NoError;
  match.Suffixes.fill(1);
  for (std::size_t depth = 0; depth < header.size(); ++depth) {
    const Node &node = nodes_[path[depth]];
    if (node.HasSuffix && header[depth].HasSuffix)
      match.Suffixes[node.Slot] = header[depth].Suffix;
  }
  return match;
}

} // namespace vq::remote
