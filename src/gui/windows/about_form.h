// The About window: program title and version, a pointer to the maker's web
// site, and a way to start the system's information viewer.
#pragma once

#include "version/version.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace vq {

class SystemInfoPlatform;

// "Version  1.0.4": each number in decimal without leading zeros.
QString VersionText(ProgramVersion version);

class AboutForm : public QDialog {
  Q_OBJECT
public:
  // Modeless; closing it (OK or the title bar) unloads it.
  AboutForm(const QString &title, ProgramVersion version, QWidget *parent = nullptr);

  // Where "System Info..." looks for the program; the running system's by default.
  void SetSystemInfoPlatform(SystemInfoPlatform &platform) { platform_ = &platform; }

  static constexpr const char *SysInfoUnavailable = "System Information Is Unavailable At This Time";

private:
  void BuildLayout();
  void Form_Load();
  void cmdOK_Click();
  void cmdSysInfo_Click();

  QString title_;
  ProgramVersion version_;
  SystemInfoPlatform *platform_;
  QLabel *picIcon_ = nullptr;
  QLabel *lblTitle_ = nullptr;
  QLabel *lblVersion_ = nullptr;
  QLabel *lblDescription_ = nullptr;
  QFrame *Line1_ = nullptr;
  QPushButton *cmdOK_ = nullptr;
  QPushButton *cmdSysInfo_ = nullptr;
};

} // namespace vq
