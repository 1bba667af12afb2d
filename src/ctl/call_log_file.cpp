#include "ctl/call_log_file.h"

#include "boardlog/call_decoder.h"
#include "boardlog/log_columns.h"

namespace vq::ctl {

CallLogFile::CallLogFile(const std::string &path) : out_(path, std::ios::binary | std::ios::trunc) {
  WriteCsv(out_, {});
  out_.flush();
}

void CallLogFile::OnBoardCall(const BoardCall &call) {
  LogEntry entry;
  entry.Sequence = next_++;
  entry.Micros =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start_).count();
  entry.Call = call;
  entry.RepeatsPrevious = previous_ && SameRequest(call, *previous_);
  previous_ = call;
  WriteCsvRow(out_, entry);
  out_.flush();
}

} // namespace vq::ctl
