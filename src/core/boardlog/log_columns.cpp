#include "boardlog/log_columns.h"

#include "boardlog/call_decoder.h"

#include <cstdio>

namespace vq {
namespace {

std::string Hex(int32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, static_cast<unsigned>(value));
  return text;
}

} // namespace

const char *ColumnTitle(LogColumn column) {
  switch (column) {
  case LogColumn::Time:
    return "Time (\xC2\xB5s)";
  case LogColumn::Code:
    return "Code";
  case LogColumn::Request:
    return "Request";
  case LogColumn::Value:
    return "Value";
  case LogColumn::Index:
    return "Index";
  case LogColumn::Word:
    return "Word";
  case LogColumn::Direction:
    return "Dir";
  case LogColumn::Length:
    return "Length";
  case LogColumn::Bytes:
    return "Bytes";
  case LogColumn::Reversed:
    return "Reversed";
  case LogColumn::Status:
    return "Status";
  case LogColumn::Meaning:
    return "Meaning";
  }
  return "";
}

const char *CsvFieldName(LogColumn column) {
  static const char *const names[LogColumnCount] = {"time_us",   "code",   "request", "value",    "index",  "word",
                                                    "direction", "length", "bytes",   "reversed", "status", "meaning"};
  return names[static_cast<int>(column)];
}

std::string ColumnText(const LogEntry &entry, LogColumn column) {
  const BoardCall &call = entry.Call;
  const bool request = call.Kind == BoardCallKind::Request;
  switch (column) {
  case LogColumn::Time:
    return std::to_string(entry.Micros);
  case LogColumn::Code:
    return request ? Hex(call.Request, 2) : "";
  case LogColumn::Request:
    return CallName(call);
  case LogColumn::Value:
    return request ? Hex(call.Value, 2) : "";
  case LogColumn::Index:
    return request ? Hex(call.Index, 4) : "";
  case LogColumn::Word:
    if (const auto word = FrameWord(call))
      return Hex(static_cast<int32_t>(*word), 6);
    return "";
  case LogColumn::Direction:
    return request ? std::to_string(call.Direction) : "";
  case LogColumn::Length:
    return request ? std::to_string(call.Length) : "";
  case LogColumn::Bytes:
    return RecordedBytes(call);
  case LogColumn::Reversed:
    return ReversedBytes(call);
  case LogColumn::Status:
    return std::to_string(call.Status);
  case LogColumn::Meaning:
    return DescribeCall(call, entry.RepeatsPrevious);
  }
  return "";
}

std::string CsvField(const std::string &text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos)
    return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"')
      quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

void WriteCsv(std::ostream &out, const std::vector<const LogEntry *> &entries) {
  for (int c = 0; c < LogColumnCount; ++c)
    out << (c ? "," : "") << CsvFieldName(static_cast<LogColumn>(c));
  out << "\r\n";
  for (const LogEntry *entry : entries)
    WriteCsvRow(out, *entry);
}

void WriteCsvRow(std::ostream &out, const LogEntry &entry) {
  for (int c = 0; c < LogColumnCount; ++c)
    out << (c ? "," : "") << CsvField(ColumnText(entry, static_cast<LogColumn>(c)));
  out << "\r\n";
}

} // namespace vq
