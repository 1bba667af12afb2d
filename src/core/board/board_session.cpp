#include "board/board_session.h"

#include <algorithm>

namespace vq {

void BoardSession::SetFirmwarePath() {
  FirmwarePath = ProgramDirectory + PathSeparator + FirmwareFileName;
}

void BoardSession::CopyFirmwarePath(const std::string &path) {
  if (path.size() > FirmwarePathBufferSize - 1)
    throw FirmwarePathTooLong("The program's directory path is too long: the firmware path has " +
                                  std::to_string(path.size()) + " characters, and at most " +
                                  std::to_string(FirmwarePathBufferSize - 1) +
                                  " fit the board library's path buffer. Move the program to a directory with a "
                                  "shorter path.",
                              path);
  std::copy(path.begin(), path.end(), FirmwarePathBuffer.begin());
  FirmwarePathBuffer[path.size()] = 0;
}

} // namespace vq
