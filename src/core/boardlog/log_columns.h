// The columns of the board activity, shared by the window's table and the CSV
// file it saves, so a saved file holds exactly what the table shows.
#pragma once

#include "boardlog/request_log.h"

#include <ostream>
#include <string>
#include <vector>

namespace vq {

enum class LogColumn { Time, Code, Request, Value, Index, Word, Direction, Length, Bytes, Reversed, Status, Meaning };
constexpr int LogColumnCount = 12;

const char *ColumnTitle(LogColumn column);  // "Time (us)", ...
const char *CsvFieldName(LogColumn column); // "time_us", ...
std::string ColumnText(const LogEntry &entry, LogColumn column);

// One header row of field names, then one row per entry, fields quoted where
// they hold a comma, a quote or a line break (RFC 4180), lines ending CR LF.
void WriteCsv(std::ostream &out, const std::vector<const LogEntry *> &entries);
// One entry's row of that file, for a file written as the calls come.
void WriteCsvRow(std::ostream &out, const LogEntry &entry);
std::string CsvField(const std::string &text);

} // namespace vq
