#include "forms/about_form.h"

namespace vq {

AboutForm::AboutForm(const QString &title, ProgramVersion version, QWidget *parent)
    : QDialog(parent), title_(title), version_(version) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("About ") + title_);
}

void AboutForm::Form_Load() {}
void AboutForm::cmdOK_Click() {}
void AboutForm::cmdSysInfo_Click() {}

} // namespace vq
