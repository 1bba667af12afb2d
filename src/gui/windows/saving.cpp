#include "windows/saving.h"

#include "files/file_writer.h"

#include <QFile>
#include <QMessageBox>

namespace vq {

std::string SystemPath(const QString &path) {
#ifdef Q_OS_WIN
  return path.toUtf8().toStdString();
#else
  return QFile::encodeName(path).toStdString();
#endif
}

QString FromSystemText(const std::string &text) {
#ifdef Q_OS_WIN
  return QString::fromStdString(text);
#else
  return QFile::decodeName(QByteArray::fromStdString(text));
#endif
}

SaveFileDialog::SaveFileDialog(QWidget *parent, const QString &title, const QString &suggested, const QString &filter)
    : QFileDialog(parent, title, suggested, filter) {
  setObjectName(QStringLiteral("SaveFileDialog"));
  setAcceptMode(QFileDialog::AcceptSave);
  setFileMode(QFileDialog::AnyFile);
}

void SaveFileDialog::accept() {
  const QStringList chosen = selectedFiles();
  if (!chosen.isEmpty()) {
    const std::string problem = NameProblem(SystemPath(chosen.first()));
    if (!problem.empty()) {
      QMessageBox::warning(this, windowTitle(), FromSystemText(problem) + QStringLiteral(" Choose a shorter one."),
                           QMessageBox::Ok);
      return;
    }
  }
  QFileDialog::accept();
}

QString SaveFileDialog::Ask(QWidget *parent, const QString &title, const QString &suggested, const QString &filter) {
  SaveFileDialog dialog(parent, title, suggested, filter);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  return dialog.selectedFiles().first();
}

bool SaveBytes(QWidget *parent, const QString &path, std::string_view bytes, const QString &afterFailure,
               FileSystem &system) {
  const std::string systemPath = SystemPath(path);
  WriteResult result = WriteFile(system, systemPath, bytes);
  if (result.Outcome == WriteOutcome::InPlaceOnly) {
    const auto answer = QMessageBox::question(
        parent, parent->windowTitle(), FromSystemText(result.Message) + QStringLiteral("\n\nOverwrite it in place?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
      return false;
    result = OverwriteInPlace(system, systemPath, bytes);
  }
  if (result.Written())
    return true;
  QMessageBox::warning(parent, parent->windowTitle(),
                       FromSystemText(result.Message) + QStringLiteral("\n\n") + afterFailure, QMessageBox::Ok);
  return false;
}

} // namespace vq
