// Setup files: a setup as a JSON text, its reader and its writer. The reader
// checks the whole text before it gives a setup back, so nothing of a bad file
// ever reaches the board; each refusal names the field and what is wrong with
// it. The format: docs/setup-files.md.
#pragma once

#include "files/file_writer.h"
#include "setup/board_setup.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vq {

inline constexpr const char *SetupFormatName = "vq8231-setup";
// The newest version of the format this program reads and the one it writes.
inline constexpr int SetupFormatVersion = 1;
// A larger file is refused before it is parsed: a setup takes about 2 KiB.
inline constexpr std::size_t LargestSetupFile = 1024 * 1024;

// A text read as a setup: the setup, or where and why it was refused.
struct SetupReading {
  std::optional<BoardSetup> Value;
  std::string Field;   // "channels.B.offset.code"; empty when the text as a whole is refused
  std::string Problem; // what is wrong, in words; empty when Value is set
};

// Reads and checks a whole setup text; never throws. Fields the format does
// not know are ignored, and so are the values in units written beside codes.
SetupReading ParseSetup(std::string_view text);

struct SetupFileReading {
  std::optional<BoardSetup> Value;
  // Empty when read; else one message naming the file, the field and the fault.
  std::string Message;
};

// Reads the file `path` (bytes as the system takes them: UTF-8 on Windows)
// and checks it as ParseSetup does.
SetupFileReading ReadSetupFile(const std::string &path);

// The file text of a setup, saved at `savedAt`. An incomplete setup has no
// text: it throws std::invalid_argument.
std::string SetupText(const BoardSetup &setup, std::chrono::system_clock::time_point savedAt);

// Writes a complete setup through the file writer (atomically, checked). An
// incomplete one is refused with a message naming the registers the program
// does not know, and nothing is written.
WriteResult WriteSetupFile(const std::string &path, const BoardSetup &setup,
                           std::chrono::system_clock::time_point savedAt = std::chrono::system_clock::now());

} // namespace vq
