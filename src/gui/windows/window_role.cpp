#include "windows/window_role.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDialog>
#include <QMainWindow>

namespace vq {

namespace {

// Asked with the object's own class name first: only our classes are taken,
// and of those only the plain widgets that are windows (a main window and a
// dialog have their own presentation).
QAccessibleInterface *OwnWindow(const QString &className, QObject *object) {
  if (!className.startsWith(QLatin1String("vq::")))
    return nullptr;
  auto *widget = qobject_cast<QWidget *>(object);
  if (widget == nullptr || !widget->isWindow() || qobject_cast<QMainWindow *>(widget) != nullptr ||
      qobject_cast<QDialog *>(widget) != nullptr)
    return nullptr;
  return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

void PresentOwnWindowsAsWindows() {
  static const bool installed = [] {
    QAccessible::installFactory(OwnWindow);
    return true;
  }();
  (void)installed;
}

} // namespace vq
