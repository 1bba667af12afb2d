// "Simulated Board": the simulated board as bench instruments would show it:
// the four outputs as a voltmeter reads them, each channel's registers, the
// control lines, who drives D0 and D1, SDO, and the die temperature and error
// seed, which the user may set, and its USB cable, which the user may pull
// and plug in again ("Connected"). Reaches the board only through the control
// view the loaded library hands out.
#pragma once

#include "simboard/sim_board_api.h"

#include <QWidget>

#include <array>
#include <optional>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;

namespace vq {

class NumberBox;

// The die temperatures the panel takes, in degrees Celsius: the converter's
// operating range.
inline constexpr double LowestDieTemperature = -55;
inline constexpr double HighestDieTemperature = 150;

class FrontPanel : public QWidget {
  Q_OBJECT
public:
  explicit FrontPanel(sim::BoardControl &board, QWidget *parent = nullptr);

  // Reads the board afresh; cheap enough to run after every request.
  void Refresh();

  // Whether the values can be selected (and copied) with the mouse yet.
  bool ValuesSelectable() const { return selectable_; }

signals:
  // "Power Cycle": the converter went back to its power-on registers.
  void converterPowerCycled();

protected:
  void showEvent(QShowEvent *event) override;
  void enterEvent(QEnterEvent *event) override;

private:
  // What a channel's row shows, to skip formatting a row nothing changed in.
  struct ChannelShown {
    sim::ChannelRegisters Registers;
    double Output = 0;
    bool BinaryCoding = false;
    bool operator==(const ChannelShown &other) const {
      return Registers.Input == other.Registers.Input && Registers.Dac == other.Registers.Dac &&
             Registers.Coarse == other.Registers.Coarse && Registers.Fine == other.Registers.Fine &&
             Registers.Offset == other.Registers.Offset && Output == other.Output && BinaryCoding == other.BinaryCoding;
    }
  };
  struct ChannelRow {
    QLabel *Output, *Dac, *Input, *Range, *FineGain, *Offset, *Coding;
    std::optional<ChannelShown> Shown;
  };
  QLabel *AddValue(const QString &name);

  sim::BoardControl &board_;
  std::array<ChannelRow, 4> channels_{};
  QLabel *ldac_, *clr_, *rstin_, *coding_, *d0Driver_, *d0Level_, *d1Driver_, *d1Level_, *sdo_, *firmware_;
  std::vector<QLabel *> values_;
  bool selectable_ = false;
  NumberBox *temperature_;
  NumberBox *seed_;
  QPushButton *powerCycleButton_;
  QCheckBox *connected_;
};

} // namespace vq
