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

class AboutBox : public QDialog {
  Q_OBJECT
public:
  // Modeless; closing it (OK or the title bar) unloads it.
  AboutBox(const QString &title, ProgramVersion version, QWidget *parent = nullptr);

  // Where "System Info..." looks for the program; the running system's by default.
  void SetSystemInfoPlatform(SystemInfoPlatform &platform) { platform_ = &platform; }

  static constexpr const char *SysInfoUnavailable = "System Information Is Unavailable At This Time";

private:
  void BuildLayout();
  void ShowTitleAndVersion();
  void onOkClicked();
  void onSystemInfoClicked();

  QString applicationTitle_;
  ProgramVersion programVersion_;
  SystemInfoPlatform *platform_;
  QLabel *icon_ = nullptr;
  QLabel *title_ = nullptr;
  QLabel *version_ = nullptr;
  QLabel *description_ = nullptr;
  QFrame *separator_ = nullptr;
  QPushButton *okButton_ = nullptr;
  QPushButton *systemInfoButton_ = nullptr;
};

} // namespace vq
