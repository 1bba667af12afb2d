#include "boardlog/call_decoder.h"

#include "board/board_library.h"
#include "board/board_status.h"
#include "board/control_lines.h"
#include "board/function_word.h"
#include "board/read_back.h"
#include "board/registers.h"
#include "board/word_names.h"
#include "boardlog/formatted_text.h"
#include "boardlog/register_values.h"
#include "rules/conversions.h"

#include <cstdio>

namespace vq {
namespace {

std::string Hex16(uint32_t value) {
  return FormattedText("0x%04X", static_cast<unsigned>(value));
}

std::string HighLow(bool high) {
  return high ? "high" : "low";
}

// What a register's data means beside its code, where it means more than the code.
std::string DataMeaning(int select, uint32_t data) {
  switch (select) {
  case CodeOf(Register::CoarseGain):
    if (RangeForCoarseCode(static_cast<int32_t>(data & 3)))
      return " (range " + RangeText(static_cast<int32_t>(data & 3)) + ")";
    return " (no range)";
  case CodeOf(Register::FineGain):
    return FormattedText(" (fine gain %d)", FineGainValue(static_cast<int32_t>(data & 0x3F)));
  case CodeOf(Register::Offset):
    return FormattedText(" (offset %g LSB)", static_cast<double>(OffsetValue(static_cast<int32_t>(data & 0xFF))));
  default:
    return "";
  }
}

// The register a read frame's returned bytes carry, as the program takes it:
// bytes 1 and 2, each bit-reversed.
std::optional<uint32_t> ReturnedRegister(const BoardCall &call) {
  if (call.ByteCount < 3)
    return std::nullopt;
  return static_cast<uint32_t>(RegisterFromReadBytes(call.Bytes.data()));
}

std::string DescribeFrame(const BoardCall &call, bool repeatsPrevious) {
  const WordFields word = WordFields::Of(*FrameWord(call));
  const int select = word.SelectBits;
  const int address = word.AddressBits;
  const uint32_t data = word.Data;
  const bool functionRegister = select == FunctionGroupSelect && address == CodeOf(Command::FunctionRegister);
  std::string text;
  if (word.Read) {
    text = "read " + WordTarget(select, address);
    if (call.Direction != 0) {
      // The converter answers a read word during the next frame: only the
      // second of two identical transfers carries the register asked for.
      if (const auto content = ReturnedRegister(call)) {
        if (!repeatsPrevious) {
          text += ", first transfer: returned " + Hex16(*content) + " (the answer to the frame before)";
        } else {
          text += ": returned " + Hex16(*content);
          if (functionRegister)
            text += " (" + FunctionOptionsText(*content) + ")";
          else
            text += DataMeaning(select, *content);
        }
      }
    }
  } else {
    // The function commands (no operation, clear all, load all) write nothing.
    const bool writesRegister = select != FunctionGroupSelect || functionRegister;
    text = (writesRegister ? "write " : "") + WordTarget(select, address);
    if (select != FunctionGroupSelect)
      text += ", " + Hex16(data) + DataMeaning(select, data);
    else if (functionRegister)
      text += ", " + Hex16(data) + ": " + FunctionOptionsText(data);
    else if (data != 0)
      text += ", data " + Hex16(data);
  }
  if (call.Request == VQ_REQ_WRITE_PULSE)
    text += ", LDAC pulse";
  if (word.Bit22)
    text += ", bit 22 set";
  if (call.Value < 0 || call.Value > 0xFF || call.Index < 0 || call.Index > 0xFFFF)
    text += ", value or index outside the word";
  return text;
}

std::string DescribeControlLines(const BoardCall &call) {
  const int32_t value = call.Value;
  const int32_t index = call.Index;
  const ControlLines lines = ControlLines::FromRequest(value, index);
  std::string text = "LDAC " + HighLow(lines.Ldac) + ", CLR " + HighLow(lines.Clr) + ", " +
                     (lines.BinaryCoding ? "binary coding" : "two's complement coding") + ", RSTIN " +
                     HighLow(lines.Rstin) + ", board drives D1 " + HighLow(lines.DriveD1) + " and D0 " +
                     HighLow(lines.DriveD0) + " where it drives them";
  if ((value & ControlLines::FixedBitsMask) != ControlLines::FixedBits || value < 0 || value > 0xFF)
    text += FormattedText(", fixed bits 0x%02X (0x%02X expected)",
                          static_cast<unsigned>(value & ControlLines::FixedBitsMask),
                          static_cast<unsigned>(ControlLines::FixedBits));
  if (index < 0 || index > 3)
    text += ", index outside 0..3";
  return text;
}

std::string DescribeSample(const BoardCall &call) {
  if (call.ByteCount < 2)
    return "temperature sample, no bytes returned";
  const int16_t sample = SampleFromBytes(call.Bytes.data());
  const float volts = TempPinVolts(sample);
  return FormattedText("sample %d: TEMP pin %.3f V, %.1f \xC2\xB0"
                       "C",
                       sample, static_cast<double>(volts), static_cast<double>(DieTemperature(volts)));
}

std::string DescribeDirection(const BoardCall &call) {
  const char *line = call.Request == VQ_REQ_D0_DIRECTION ? "D0" : "D1";
  if (call.Value == 1)
    return FormattedText("%s is an input of the converter: the board drives it", line);
  if (call.Value == 0)
    return FormattedText("%s is an output of the converter: the board lets go", line);
  return FormattedText("%s direction %d (neither 0 nor 1)", line, call.Value);
}

std::string DescribeRequest(const BoardCall &call, bool repeatsPrevious) {
  switch (call.Request) {
  case VQ_REQ_WRITE_PULSE:
  case VQ_REQ_SHIFT_WORD:
    return DescribeFrame(call, repeatsPrevious);
  case VQ_REQ_SAMPLE:
    return DescribeSample(call);
  case VQ_REQ_D0_DIRECTION:
  case VQ_REQ_D1_DIRECTION:
    return DescribeDirection(call);
  case VQ_REQ_CONTROL_LINES:
    return DescribeControlLines(call);
  default:
    return FormattedText("unknown request 0x%02X", static_cast<unsigned>(call.Request));
  }
}

// ": the board is gone" where the library names its statuses, else nothing.
std::string Why(const BoardCall &call) {
  return call.StatusText.empty() ? "" : ": " + call.StatusText;
}

// "; request failed: the board is gone (status 4)" for a call that failed.
std::string Failure(const BoardCall &call, const char *what) {
  if (call.Status == 0)
    return "";
  return FormattedText("; %s failed", what) + Why(call) + FormattedText(" (status %d)", call.Status);
}

} // namespace

CallCategory CategoryOf(const BoardCall &call) {
  if (call.Kind != BoardCallKind::Request)
    return CallCategory::Session;
  switch (call.Request) {
  case VQ_REQ_WRITE_PULSE:
    return CallCategory::WriteFrame;
  case VQ_REQ_SHIFT_WORD:
    return call.Direction != 0 ? CallCategory::ReadFrame : CallCategory::WriteFrame;
  case VQ_REQ_SAMPLE:
    return CallCategory::Sample;
  case VQ_REQ_D0_DIRECTION:
  case VQ_REQ_D1_DIRECTION:
    return CallCategory::LineDirection;
  case VQ_REQ_CONTROL_LINES:
    return CallCategory::ControlLines;
  default:
    return CallCategory::Unknown;
  }
}

const char *CategoryName(CallCategory category) {
  switch (category) {
  case CallCategory::Session:
    return "session (search, connect, download)";
  case CallCategory::WriteFrame:
    return "serial write frames";
  case CallCategory::ReadFrame:
    return "serial read frames";
  case CallCategory::ControlLines:
    return "control lines";
  case CallCategory::Sample:
    return "temperature samples";
  case CallCategory::LineDirection:
    return "D0/D1 direction";
  case CallCategory::Unknown:
    return "unknown requests";
  }
  return "";
}

std::string CallName(const BoardCall &call) {
  switch (call.Kind) {
  case BoardCallKind::Search:
    return "search";
  case BoardCallKind::Connect:
    return "connect";
  case BoardCallKind::Download:
    return "firmware download";
  case BoardCallKind::Request:
    break;
  }
  switch (call.Request) {
  case VQ_REQ_WRITE_PULSE:
    return "write and pulse LDAC";
  case VQ_REQ_SHIFT_WORD:
    return "write or read frame";
  case VQ_REQ_SAMPLE:
    return "temperature sample";
  case VQ_REQ_D0_DIRECTION:
    return "D0 direction";
  case VQ_REQ_D1_DIRECTION:
    return "D1 direction";
  case VQ_REQ_CONTROL_LINES:
    return "control lines";
  default:
    return "unknown request";
  }
}

bool SameRequest(const BoardCall &a, const BoardCall &b) {
  return a.Kind == BoardCallKind::Request && b.Kind == BoardCallKind::Request && a.Request == b.Request &&
         a.Value == b.Value && a.Index == b.Index && a.Direction == b.Direction && a.Length == b.Length;
}

std::optional<uint32_t> FrameWord(const BoardCall &call) {
  if (call.Kind != BoardCallKind::Request || (call.Request != VQ_REQ_WRITE_PULSE && call.Request != VQ_REQ_SHIFT_WORD))
    return std::nullopt;
  return (static_cast<uint32_t>(call.Value) & 0xFF) << 16 | (static_cast<uint32_t>(call.Index) & 0xFFFF);
}

std::string RecordedBytes(const BoardCall &call) {
  std::string text;
  for (int i = 0; i < call.ByteCount; ++i)
    text += FormattedText(i == 0 ? "%02X" : " %02X", call.Bytes[i]);
  if (call.Length > call.ByteCount)
    text += " ...";
  return text;
}

std::string ReversedBytes(const BoardCall &call) {
  const CallCategory category = CategoryOf(call);
  if (category != CallCategory::ReadFrame && category != CallCategory::Sample)
    return "";
  std::string text;
  for (int i = 0; i < call.ByteCount; ++i)
    text += FormattedText(i == 0 ? "%02X" : " %02X", ReverseBits(call.Bytes[i]));
  return text;
}

std::string DescribeCall(const BoardCall &call, bool repeatsPrevious) {
  switch (call.Kind) {
  case BoardCallKind::Search:
    return FormattedText("search for boards: vendor 0x%04X, product 0x%04X: count %d, first list byte %u",
                         call.VendorId, call.ProductId, call.BoardCount, call.BoardNumber) +
           Failure(call, "search");
  case BoardCallKind::Connect:
    return FormattedText("connect to board %u: handle 0x%X", call.BoardNumber,
                         static_cast<unsigned>(call.BoardHandle)) +
           Failure(call, "connect");
  case BoardCallKind::Download:
    return "download firmware \"" + call.FirmwarePath +
           "\": " + (call.DownloadSucceeded ? "firmware running" : "download failed" + Why(call));
  case BoardCallKind::Request:
    break;
  }
  return DescribeRequest(call, repeatsPrevious) + Failure(call, "request");
}

} // namespace vq

namespace vq {

std::string RequestAction(const BoardCall &call) {
  switch (call.Request) {
  case VQ_REQ_WRITE_PULSE:
  case VQ_REQ_SHIFT_WORD: {
    const WordFields word = WordFields::Of(*FrameWord(call));
    const bool command =
        word.SelectBits == FunctionGroupSelect && word.AddressBits != CodeOf(Command::FunctionRegister);
    std::string target = WordTarget(word.SelectBits, word.AddressBits);
    if (command) {
      target[0] = static_cast<char>(target[0] - 'a' + 'A');
      return target;
    }
    return (word.Read ? "Read " : "Write ") + target;
  }
  case VQ_REQ_SAMPLE:
    return "Read a temperature sample";
  case VQ_REQ_D0_DIRECTION:
  case VQ_REQ_D1_DIRECTION:
    return FormattedText("Set the direction of %s", call.Request == VQ_REQ_D0_DIRECTION ? "D0" : "D1");
  case VQ_REQ_CONTROL_LINES:
    return "Set the control lines";
  default:
    return FormattedText("Request 0x%02X", static_cast<unsigned>(call.Request));
  }
}

std::string FailureLine(const BoardCall &call) {
  const std::string action = RequestAction(call);
  if (call.StatusText.empty())
    return action + FormattedText(" failed (status %d)", call.Status);
  return action + ": " + call.StatusText + FormattedText(" (status %d)", call.Status);
}

} // namespace vq
