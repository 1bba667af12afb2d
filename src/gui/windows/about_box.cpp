#include "windows/about_box.h"

#include "sysinfo/system_info.h"
#include "windows/program_icon.h"

#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace vq {

namespace {

constexpr int BoxWidth = 384;
constexpr int BoxHeight = 250;

QLabel *NamedLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry) {
  auto *label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(geometry);
  return label;
}

QPushButton *NamedButton(QWidget *parent, const char *name, const QString &caption, const QRect &geometry) {
  auto *button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(geometry);
  return button;
}

} // namespace

QString VersionText(ProgramVersion version) {
  return QStringLiteral("Version  %1.%2.%3").arg(version.Major).arg(version.Minor).arg(version.Revision);
}

AboutBox::AboutBox(const QString &title, ProgramVersion version, QWidget *parent)
    : QDialog(parent), applicationTitle_(title), programVersion_(version), platform_(&NativeSystemInfoPlatform()) {
  setObjectName(QStringLiteral("frmAbout"));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  BuildLayout();
  ShowTitleAndVersion();
}

// The layout, with the window design's own texts until ShowTitleAndVersion
// puts in the program's.
void AboutBox::BuildLayout() {
  setWindowTitle(QStringLiteral("About MyApp"));
  setFixedSize(BoxWidth, BoxHeight);

  icon_ = NamedLabel(this, "picIcon", QString(), QRect(16, 16, 48, 48));
  icon_->setPixmap(ProgramIcon().pixmap(32, 32));
  icon_->setAlignment(Qt::AlignCenter);

  title_ = NamedLabel(this, "lblTitle", QStringLiteral("Application Title"), QRect(80, 16, 290, 24));
  QFont titleFont = title_->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
  title_->setFont(titleFont);

  version_ = NamedLabel(this, "lblVersion", QStringLiteral("Version"), QRect(80, 46, 290, 20));
  description_ = NamedLabel(this, "lblDescription",
                            QStringLiteral("For the latest versions of our evaluation software, visit the Korvell web "
                                           "site at www.korvell.example."),
                            QRect(80, 76, 290, 64));
  description_->setWordWrap(true);
  description_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  description_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  // A sunken line: the dark and the light stroke of the etched separator.
  separator_ = new QFrame(this);
  separator_->setObjectName(QStringLiteral("Line1"));
  separator_->setFrameShape(QFrame::HLine);
  separator_->setFrameShadow(QFrame::Sunken);
  separator_->setGeometry(12, 150, BoxWidth - 24, 4);

  okButton_ = NamedButton(this, "cmdOK", QStringLiteral("OK"), QRect(262, 166, 106, 28));
  okButton_->setDefault(true);
  systemInfoButton_ = NamedButton(this, "cmdSysInfo", QStringLiteral("&System Info..."), QRect(262, 204, 106, 28));
  connect(okButton_, &QPushButton::clicked, this, &AboutBox::onOkClicked);
  connect(systemInfoButton_, &QPushButton::clicked, this, &AboutBox::onSystemInfoClicked);
}

void AboutBox::ShowTitleAndVersion() {
  setWindowTitle(QStringLiteral("About ") + applicationTitle_);
  version_->setText(VersionText(programVersion_));
  title_->setText(applicationTitle_);
}

void AboutBox::onOkClicked() {
  close();
}

void AboutBox::onSystemInfoClicked() {
  if (StartSysInfo(*platform_))
    return;
  QMessageBox box(QMessageBox::NoIcon, applicationTitle_, QString::fromLatin1(SysInfoUnavailable), QMessageBox::Ok,
                  this);
  box.exec();
}

} // namespace vq
