// What each board library call means, in words: pure functions over one
// recorded call. Serial frames are taken apart into their 24-bit word, the
// control-line request into its levels, the sample into the volts and degrees
// it stands for. A request outside the program's set is named as unknown,
// never dropped.
#pragma once

#include "board/board_call.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vq {

// The kinds the activity window filters by.
enum class CallCategory : uint8_t { Session, WriteFrame, ReadFrame, ControlLines, Sample, LineDirection, Unknown };
constexpr int CallCategoryCount = 7;

CallCategory CategoryOf(const BoardCall &call);
const char *CategoryName(CallCategory category); // "serial write frames", ...

// "write and pulse LDAC" for 0xD9, "unknown request" for codes outside the
// program's set; "search", "connect", "firmware download" for the session.
std::string CallName(const BoardCall &call);

// The 24-bit serial word of a frame request (0xD9, 0xDD), else nothing.
std::optional<uint32_t> FrameWord(const BoardCall &call);

// The bytes as recorded ("00 80 04"), and bit-reversed as the program reverses
// the bytes a read or a sample returns (empty for every other call).
std::string RecordedBytes(const BoardCall &call);
std::string ReversedBytes(const BoardCall &call);

// "write data register, DAC B, 0x9F40, LDAC pulse" and the like. A read
// frame's returned register is named only when `repeatsPrevious` says the
// request before it was the identical one (see SameRequest): the converter
// answers a read word during the following frame.
std::string DescribeCall(const BoardCall &call, bool repeatsPrevious = false);

// What a request asks for, as a user names the step of an action: "Write
// data register, DAC B", "Read coarse gain register, DAC A", "Set the
// control lines", "Read a temperature sample".
std::string RequestAction(const BoardCall &call);

// The line that says why an action's request failed: "Write data register,
// DAC B: the board did not answer (status 1)", or, from a library that does
// not name its statuses, "Write data register, DAC B failed (status 3)".
std::string FailureLine(const BoardCall &call);

// Whether two calls are the same request (code, value, index, direction,
// length).
bool SameRequest(const BoardCall &a, const BoardCall &b);

} // namespace vq
