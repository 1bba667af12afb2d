// The start procedure: program-wide values, the main window and its load.
#pragma once

#include "app/main_window.h"

#include <QString>
#include <QStringList>

#include <string>

class QApplication;

namespace vq {

// Runs the program on `link` with the program directory `programDirectory`
// and returns its exit status: 0 after a normal end, non-zero when the start
// failed (the user has been told why).
int RunProgram(QApplication &app, BoardLink &link, const std::string &programDirectory, ProgramVariant variant);

// Exit statuses of a failed start.
enum StartFailure { DownloadFailed = 1, BoardLibraryMissing = 2, ProgramPathTooLong = 3, BadArguments = 4 };

// What the command line asks for: "--setup FILE" (or "--setup=FILE") opens a
// setup file right after the start-up. Other arguments are left to Qt.
struct StartOptions {
  QString SetupFile;
  QString Problem; // why the command line cannot be taken; empty when it can
};
StartOptions ReadStartOptions(const QStringList &arguments);

} // namespace vq
