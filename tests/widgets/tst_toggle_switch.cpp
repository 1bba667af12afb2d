// The toggle switch on its own: flipped by a click or the space bar only
// while operable, silent when set from code, and visible to assistive tools.
#include "panels/toggle_switch.h"

#include <QAccessible>
#include <QGroupBox>
#include <QSignalSpy>
#include <QtTest>

using namespace vq;

class ToggleSwitchTest : public QObject {
  Q_OBJECT
private slots:
  void userFlipsWithClickOrSpaceWhileOperable_data();
  void userFlipsWithClickOrSpaceWhileOperable();
  void valueFromCodeOnlyUpdatesTheDisplay();
  void disabledFrameLocksToo();
  void otherInputDoesNotFlip();
  void assistiveToolsSeeACheckBox();
};

namespace {

enum class Flip { Click, Space };

void FlipWith(ToggleSwitch &toggle, Flip how) {
  if (how == Flip::Click)
    QTest::mouseClick(&toggle, Qt::LeftButton, Qt::NoModifier, toggle.rect().center());
  else
    QTest::keyClick(&toggle, Qt::Key_Space);
}

} // namespace

void ToggleSwitchTest::userFlipsWithClickOrSpaceWhileOperable_data() {
  QTest::addColumn<Flip>("how");
  QTest::addColumn<bool>("operable");
  QTest::addColumn<bool>("start");
  QTest::addColumn<int>("flips");
  QTest::addColumn<bool>("end");
  QTest::addColumn<int>("changes");

  QTest::newRow("click flips on") << Flip::Click << true << false << 1 << true << 1;
  QTest::newRow("click flips off") << Flip::Click << true << true << 1 << false << 1;
  QTest::newRow("two clicks come back") << Flip::Click << true << false << 2 << false << 2;
  QTest::newRow("space flips on") << Flip::Space << true << false << 1 << true << 1;
  QTest::newRow("space flips off") << Flip::Space << true << true << 1 << false << 1;
  QTest::newRow("locked ignores click") << Flip::Click << false << true << 2 << true << 0;
  QTest::newRow("locked ignores space") << Flip::Space << false << false << 2 << false << 0;
}

void ToggleSwitchTest::userFlipsWithClickOrSpaceWhileOperable() {
  QFETCH(Flip, how);
  QFETCH(bool, operable);
  QFETCH(bool, start);
  QFETCH(int, flips);
  QFETCH(bool, end);
  QFETCH(int, changes);

  ToggleSwitch toggle(QStringLiteral("Low"), QStringLiteral("High"));
  toggle.resize(toggle.sizeHint());
  toggle.SetValue(start);
  toggle.SetOperable(operable);
  toggle.show();
  QVERIFY(QTest::qWaitForWindowExposed(&toggle));
  toggle.setFocus();

  // The handler sees the new state when the change arrives.
  QList<bool> seen;
  connect(&toggle, &ToggleSwitch::flipped, &toggle, [&] { seen.append(toggle.Value()); });
  for (int i = 0; i < flips; ++i)
    FlipWith(toggle, how);

  QCOMPARE(toggle.Value(), end);
  QCOMPARE(toggle.Caption(), end ? QStringLiteral("High") : QStringLiteral("Low"));
  QCOMPARE(seen.size(), changes);
  if (changes > 0)
    QCOMPARE(seen.constLast(), end);
}

void ToggleSwitchTest::valueFromCodeOnlyUpdatesTheDisplay() {
  ToggleSwitch toggle(QStringLiteral("2sComplement"), QStringLiteral("Binary"));
  QSignalSpy changes(&toggle, &ToggleSwitch::flipped);
  toggle.SetValue(true);
  QCOMPARE(toggle.Caption(), QStringLiteral("Binary"));
  // Other code sets the property with the integer 1 for on.
  QVERIFY(toggle.setProperty("Value", 0));
  QCOMPARE(toggle.Value(), false);
  QVERIFY(toggle.setProperty("Value", 1));
  QCOMPARE(toggle.Value(), true);
  QVERIFY(toggle.setProperty("Operable", false));
  QCOMPARE(toggle.Operable(), false);
  QCOMPARE(changes.count(), 0);
}

void ToggleSwitchTest::disabledFrameLocksToo() {
  QGroupBox frame(QStringLiteral("Drive D1 Pin"));
  auto *toggle = new ToggleSwitch(QStringLiteral("Low"), QStringLiteral("High"), &frame);
  toggle->setGeometry(10, 20, 100, 44);
  frame.resize(140, 70);
  frame.show();
  QVERIFY(QTest::qWaitForWindowExposed(&frame));
  frame.setEnabled(false);
  QSignalSpy changes(toggle, &ToggleSwitch::flipped);
  QTest::mouseClick(toggle, Qt::LeftButton, Qt::NoModifier, toggle->rect().center());
  QTest::keyClick(toggle, Qt::Key_Space);
  QCOMPARE(toggle->Value(), false);
  QCOMPARE(changes.count(), 0);
  QVERIFY(toggle->Operable()); // the frame locks it, the property stays
}

// A right click, a press dragged off the switch and other keys leave it.
void ToggleSwitchTest::otherInputDoesNotFlip() {
  ToggleSwitch toggle(QStringLiteral("Low"), QStringLiteral("High"));
  toggle.resize(100, 44);
  toggle.show();
  QVERIFY(QTest::qWaitForWindowExposed(&toggle));
  QSignalSpy changes(&toggle, &ToggleSwitch::flipped);
  QTest::mouseClick(&toggle, Qt::RightButton, Qt::NoModifier, toggle.rect().center());
  QTest::mousePress(&toggle, Qt::LeftButton, Qt::NoModifier, toggle.rect().center());
  QTest::mouseRelease(&toggle, Qt::LeftButton, Qt::NoModifier, QPoint(150, 60));
  QTest::keyClick(&toggle, Qt::Key_Return);
  QTest::keyClick(&toggle, Qt::Key_A);
  QCOMPARE(toggle.Value(), false);
  QCOMPARE(changes.count(), 0);
}

void ToggleSwitchTest::assistiveToolsSeeACheckBox() {
  QGroupBox frame(QStringLiteral("CLR Pin"));
  auto *toggle = new ToggleSwitch(QStringLiteral("Low"), QStringLiteral("High"), &frame);
  QVERIFY(toggle->focusPolicy() & Qt::TabFocus);
  QAccessibleInterface *face = QAccessible::queryAccessibleInterface(toggle);
  QVERIFY(face != nullptr);
  QCOMPARE(face->role(), QAccessible::CheckBox);
  QCOMPARE(face->text(QAccessible::Name), QStringLiteral("CLR Pin: Low / High"));
  QCOMPARE(face->text(QAccessible::Value), QStringLiteral("Low"));
  QVERIFY(face->state().checkable);
  QVERIFY(!face->state().checked);

  toggle->SetValue(true);
  QVERIFY(face->state().checked);
  QCOMPARE(face->text(QAccessible::Value), QStringLiteral("High"));

  // An assistive tool's toggle action is a user's flip; a locked switch
  // offers none and ignores it.
  QSignalSpy changes(toggle, &ToggleSwitch::flipped);
  face->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  QCOMPARE(toggle->Value(), false);
  QCOMPARE(changes.count(), 1);
  toggle->SetOperable(false);
  QVERIFY(face->state().disabled);
  QVERIFY(face->actionInterface()->actionNames().isEmpty());
  face->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  QCOMPARE(toggle->Value(), false);
  QCOMPARE(changes.count(), 1);
}

QTEST_MAIN(ToggleSwitchTest)
#include "tst_toggle_switch.moc"
