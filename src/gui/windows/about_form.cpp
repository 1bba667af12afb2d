#include "windows/about_form.h"

#include "sysinfo/system_info.h"
#include "windows/program_icon.h"

#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace vq {

namespace {

constexpr int FormWidth = 384;
constexpr int FormHeight = 250;

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

AboutForm::AboutForm(const QString &title, ProgramVersion version, QWidget *parent)
    : QDialog(parent), title_(title), version_(version), platform_(&NativeSystemInfoPlatform()) {
  setObjectName(QStringLiteral("frmAbout"));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  BuildLayout();
  Form_Load();
}

void AboutForm::BuildLayout() {
  setWindowTitle(QStringLiteral("About MyApp"));
  setFixedSize(FormWidth, FormHeight);

  picIcon_ = NamedLabel(this, "picIcon", QString(), QRect(16, 16, 48, 48));
  picIcon_->setPixmap(ProgramIcon().pixmap(32, 32));
  picIcon_->setAlignment(Qt::AlignCenter);

  lblTitle_ = NamedLabel(this, "lblTitle", QStringLiteral("Application Title"), QRect(80, 16, 290, 24));
  QFont titleFont = lblTitle_->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
  lblTitle_->setFont(titleFont);

  lblVersion_ = NamedLabel(this, "lblVersion", QStringLiteral("Version"), QRect(80, 46, 290, 20));
  lblDescription_ =
      NamedLabel(this, "lblDescription",
                 QStringLiteral("For the latest versions of our evaluation software, visit the Korvell web "
                                "site at www.korvell.example."),
                 QRect(80, 76, 290, 64));
  lblDescription_->setWordWrap(true);
  lblDescription_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblDescription_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  // A sunken line: the dark and the light stroke of the etched separator.
  Line1_ = new QFrame(this);
  Line1_->setObjectName(QStringLiteral("Line1"));
  Line1_->setFrameShape(QFrame::HLine);
  Line1_->setFrameShadow(QFrame::Sunken);
  Line1_->setGeometry(12, 150, FormWidth - 24, 4);

  cmdOK_ = NamedButton(this, "cmdOK", QStringLiteral("OK"), QRect(262, 166, 106, 28));
  cmdOK_->setDefault(true);
  cmdSysInfo_ = NamedButton(this, "cmdSysInfo", QStringLiteral("&System Info..."), QRect(262, 204, 106, 28));
  connect(cmdOK_, &QPushButton::clicked, this, &AboutForm::cmdOK_Click);
  connect(cmdSysInfo_, &QPushButton::clicked, this, &AboutForm::cmdSysInfo_Click);
}

void AboutForm::Form_Load() {
  setWindowTitle(QStringLiteral("About ") + title_);
  lblVersion_->setText(VersionText(version_));
  lblTitle_->setText(title_);
}

void AboutForm::cmdOK_Click() {
  close();
}

void AboutForm::cmdSysInfo_Click() {
  if (StartSysInfo(*platform_))
    return;
  QMessageBox box(QMessageBox::NoIcon, title_, QString::fromLatin1(SysInfoUnavailable), QMessageBox::Ok, this);
  box.exec();
}

} // namespace vq
