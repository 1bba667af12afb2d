// "Simulated Board": the simulated board as bench instruments would show it:
// the four outputs as a voltmeter reads them, each channel's registers, the
// control lines, who drives D0 and D1, SDO, and the die temperature and error
// seed, which the user may set. Reaches the board only through the control
// view the loaded library hands out.
#pragma once

#include <QWidget>

#include <array>

class QDoubleSpinBox;
class QLabel;
class QSpinBox;

namespace vq {

namespace sim {
class BoardControl;
}

class FrontPanel : public QWidget {
  Q_OBJECT
public:
  explicit FrontPanel(sim::BoardControl &board, QWidget *parent = nullptr);

  // Reads the board afresh; cheap enough to run after every request.
  void Refresh();

protected:
  void showEvent(QShowEvent *event) override;

private:
  struct ChannelRow {
    QLabel *Output, *Dac, *Input, *Range, *FineGain, *Offset, *Coding;
  };
  QLabel *AddValue(const QString &name);

  sim::BoardControl &board_;
  std::array<ChannelRow, 4> channels_{};
  QLabel *ldac_, *clr_, *rstin_, *coding_, *d0Driver_, *d0Level_, *d1Driver_, *d1Level_, *sdo_, *firmware_;
  QDoubleSpinBox *temperature_;
  QSpinBox *seed_;
};

} // namespace vq
