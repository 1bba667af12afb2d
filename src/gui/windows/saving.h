// Saving a file from a window, with the user in the loop: the file dialog,
// and the file writer's outcome turned into the questions and messages the
// user sees. Every window that saves goes through here.
#pragma once

#include "files/file_system.h"

#include <QFileDialog>
#include <QString>

#include <string>
#include <string_view>

namespace vq {

// The path as the file system takes it: the local 8-bit bytes on Linux,
// UTF-8 on Windows (where the writer widens it); and back.
std::string SystemPath(const QString &path);
QString FromSystemText(const std::string &text);

// Qt's file dialog for saving, except that a name the system cannot take
// (longer than 255 bytes, say) gets a message instead of the dialog staying
// open without a word.
class SaveFileDialog : public QFileDialog {
  Q_OBJECT
public:
  SaveFileDialog(QWidget *parent, const QString &title, const QString &suggested, const QString &filter);
  void accept() override;

  // The file the user chose; empty when cancelled.
  static QString Ask(QWidget *parent, const QString &title, const QString &suggested, const QString &filter);
};

// Writes `bytes` as `path` through the file writer. A folder that takes no
// new file brings the question whether to overwrite the file in place; a
// failure brings a message: the writer's, then `afterFailure`. Returns
// whether the file was written.
bool SaveBytes(QWidget *parent, const QString &path, std::string_view bytes, const QString &afterFailure,
               FileSystem &system = NativeFileSystem());

} // namespace vq
