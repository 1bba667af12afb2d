// The About window: program title and version, a pointer to the maker's web
// site, and a way to start the system's information viewer.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace vq {

struct ProgramVersion {
  int Major = 1;
  int Minor = 0;
  int Revision = 0;
};

class AboutForm : public QDialog {
  Q_OBJECT
public:
  AboutForm(const QString &title, ProgramVersion version, QWidget *parent = nullptr);

private:
  void Form_Load();
  void cmdOK_Click();
  void cmdSysInfo_Click();

  QString title_;
  ProgramVersion version_;
};

} // namespace vq
