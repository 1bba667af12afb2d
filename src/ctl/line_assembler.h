// Cuts a byte stream into command lines, whatever pieces it arrives in, with
// a bounded buffer: a line longer than MaxLineLength is reported once and the
// rest of it, up to its line end, is dropped unread. Lines end with LF; a CR
// before it is dropped too (the limit counts it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vq::ctl {

class LineAssembler {
public:
  static constexpr std::size_t MaxLineLength = 64 * 1024;

  // Calls onLine(std::string_view) for each complete line (without its line
  // end) and onOverlong() once for each line that grew past the limit. The
  // view lives until the handler returns.
  template <typename OnLine, typename OnOverlong>
  void Feed(std::string_view bytes, OnLine &&onLine, OnOverlong &&onOverlong);

  // The end of the stream: a last line without a line end counts as a line.
  template <typename OnLine> void Finish(OnLine &&onLine);

  // The number of the line last reported (counting from 1), dropped ones included.
  uint64_t LineNumber() const { return lineNumber_; }
  // Bytes held of an unfinished line.
  std::size_t Pending() const { return pending_.size(); }

private:
  static std::string_view WithoutCarriageReturn(std::string_view line) {
    return !line.empty() && line.back() == '\r' ? line.substr(0, line.size() - 1) : line;
  }

  std::string pending_;
  bool dropping_ = false;
  uint64_t lineNumber_ = 0;
};

template <typename OnLine, typename OnOverlong>
void LineAssembler::Feed(std::string_view bytes, OnLine &&onLine, OnOverlong &&onOverlong) {
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    const std::string_view piece = bytes.substr(0, end);
    if (!dropping_ && pending_.size() + piece.size() > MaxLineLength) {
      pending_.clear();
      dropping_ = true;
      ++lineNumber_;
      onOverlong();
    }
    if (end == std::string_view::npos) {
      if (!dropping_)
        pending_.append(piece);
      return;
    }
    bytes.remove_prefix(end + 1);
    if (dropping_) {
      dropping_ = false; // the overlong line ends here; it was counted when refused
      continue;
    }
    ++lineNumber_;
    if (pending_.empty()) {
      onLine(WithoutCarriageReturn(piece)); // straight from the caller's bytes
    } else {
      pending_.append(piece);
      onLine(WithoutCarriageReturn(pending_));
      pending_.clear();
    }
  }
}

template <typename OnLine> void LineAssembler::Finish(OnLine &&onLine) {
  if (!dropping_ && !pending_.empty()) {
    ++lineNumber_;
    onLine(WithoutCarriageReturn(pending_));
  }
  pending_.clear();
  dropping_ = false;
}

} // namespace vq::ctl
