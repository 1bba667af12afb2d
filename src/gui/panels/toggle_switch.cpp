#include "panels/toggle_switch.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace vq {
namespace {

constexpr int TrackWidth = 36;
constexpr int TrackHeight = 16;
constexpr int CaptionGap = 4;

// Presents the switch to assistive tools as a check box whose state is the
// switch's Value and whose value text is the caption shown.
class ToggleSwitchAccessible : public QAccessibleWidget {
public:
  explicit ToggleSwitchAccessible(ToggleSwitch *toggle) : QAccessibleWidget(toggle, QAccessible::CheckBox) {}

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.checkable = true;
    s.checked = Switch()->Value();
    s.disabled = !Switch()->Flippable();
    return s;
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name)
      return Switch()->SpokenName();
    if (t == QAccessible::Value || t == QAccessible::Description)
      return Switch()->Caption();
    return QAccessibleWidget::text(t);
  }

  QStringList actionNames() const override {
    return Switch()->Flippable() ? QStringList{toggleAction()} : QStringList{};
  }

  void doAction(const QString &action) override {
    if (action == toggleAction() || action == pressAction())
      Switch()->FlipByUser();
  }

private:
  ToggleSwitch *Switch() const { return static_cast<ToggleSwitch *>(widget()); }
};

QAccessibleInterface *ToggleSwitchAccessibility(const QString &className, QObject *object) {
  if (className == QLatin1String(ToggleSwitch::staticMetaObject.className()))
    if (auto *toggle = qobject_cast<ToggleSwitch *>(object))
      return new ToggleSwitchAccessible(toggle);
  return nullptr;
}

} // namespace

ToggleSwitch::ToggleSwitch(const QString &offCaption, const QString &onCaption, QWidget *parent)
    : QWidget(parent), offCaption_(offCaption), onCaption_(onCaption) {
  static const bool factoryInstalled = [] {
    QAccessible::installFactory(ToggleSwitchAccessibility);
    return true;
  }();
  (void)factoryInstalled;
  setFocusPolicy(Qt::StrongFocus);
  setAccessibleDescription(Caption());
}

QString ToggleSwitch::SpokenName() const {
  if (!accessibleName().isEmpty())
    return accessibleName();
  QString frame;
  for (QWidget *w = parentWidget(); w != nullptr && frame.isEmpty(); w = w->parentWidget())
    if (auto *box = qobject_cast<QGroupBox *>(w))
      frame = box->title();
  const QString captions = offCaption_ + QStringLiteral(" / ") + onCaption_;
  return frame.isEmpty() ? captions : frame + QStringLiteral(": ") + captions;
}

void ToggleSwitch::SetValue(bool on) {
  if (value_ == on)
    return;
  value_ = on;
  setAccessibleDescription(Caption());
  update();
  TellAssistiveTools(true, false);
}

// A switch the user cannot flip now takes no Tab stop.
void ToggleSwitch::UpdateTabStop() {
  setFocusPolicy(Flippable() ? Qt::StrongFocus : Qt::NoFocus);
}

void ToggleSwitch::changeEvent(QEvent *event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::EnabledChange)
    UpdateTabStop();
}

void ToggleSwitch::SetOperable(bool operable) {
  if (operable_ == operable)
    return;
  operable_ = operable;
  UpdateTabStop();
  update();
  TellAssistiveTools(false, true);
}

void ToggleSwitch::TellAssistiveTools(bool checkedChanged, bool lockChanged) {
  if (!QAccessible::isActive())
    return;
  QAccessible::State changed;
  changed.checked = checkedChanged;
  changed.disabled = lockChanged;
  QAccessibleStateChangeEvent event(this, changed);
  QAccessible::updateAccessibility(&event);
  if (checkedChanged) {
    QAccessibleValueChangeEvent text(this, Caption());
    QAccessible::updateAccessibility(&text);
  }
}

QSize ToggleSwitch::sizeHint() const {
  const QFontMetrics metrics(font());
  const int text = std::max(metrics.horizontalAdvance(offCaption_), metrics.horizontalAdvance(onCaption_));
  return {std::max(text + 8, TrackWidth + 8), TrackHeight + 4 + CaptionGap + metrics.height()};
}

QSize ToggleSwitch::minimumSizeHint() const {
  return sizeHint();
}

void ToggleSwitch::FlipByUser() {
  if (!Flippable())
    return;
  SetValue(!value_);
  emit flipped();
}

// The flip happens on release inside the switch, as with a button; taking the
// press keeps the release here.
void ToggleSwitch::mousePressEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  pressed_ = true;
  event->accept();
}

void ToggleSwitch::mouseReleaseEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  const bool wasPressed = std::exchange(pressed_, false);
  event->accept();
  if (wasPressed && rect().contains(event->position().toPoint()))
    FlipByUser();
}

void ToggleSwitch::keyPressEvent(QKeyEvent *event) {
  if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
    if (!event->isAutoRepeat())
      FlipByUser();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void ToggleSwitch::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const bool live = Flippable();
  const QPalette &pal = palette();
  const QRectF track((width() - TrackWidth) / 2.0, 2, TrackWidth, TrackHeight);

  // Colours from the palette, so the switch reads in light and dark themes
  // alike: a live switch is on in the highlight colour and off in a mid
  // tone; a locked one keeps showing its position in the disabled group's
  // colours, quieter than the live ones.
  const QPalette::ColorGroup group = live ? QPalette::Active : QPalette::Disabled;
  painter.setPen(live ? Qt::NoPen : QPen(pal.color(group, QPalette::Mid), 1));
  painter.setBrush(value_ ? pal.color(group, live ? QPalette::Highlight : QPalette::Mid)
                          : pal.color(group, live ? QPalette::Dark : QPalette::Button));
  painter.drawRoundedRect(track, TrackHeight / 2.0, TrackHeight / 2.0);

  const qreal knob = TrackHeight - 4;
  const qreal knobX = value_ ? track.right() - knob - 2 : track.left() + 2;
  painter.setPen(Qt::NoPen);
  painter.setBrush(pal.color(group, live ? QPalette::Light : QPalette::Window));
  painter.drawEllipse(QRectF(knobX, track.top() + 2, knob, knob));

  if (hasFocus()) {
    painter.setPen(QPen(pal.color(QPalette::Highlight), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(track.adjusted(-2, -2, 2, 2), TrackHeight / 2.0 + 2, TrackHeight / 2.0 + 2);
  }

  painter.setPen(live ? pal.color(QPalette::Active, QPalette::WindowText)
                      : pal.color(QPalette::Disabled, QPalette::WindowText));
  const int top = TrackHeight + 2 + CaptionGap;
  painter.drawText(QRect(0, top, width(), height() - top), Qt::AlignHCenter | Qt::AlignTop, Caption());
}

} // namespace vq
