// The state in which the window opens: the converter's options on the
// switches, the lists, the no-operation word, LDAC pulsing and the data
// register view of DAC A.
#include "app/main_window.h"

namespace vq {

// The options of a function word on the switches, the drive frames that go
// with the directions, and "READ" while either line is an input.
void MainWindow::ShowFunctionOptions(int32_t functionWord) {
  const FunctionWord options = FunctionWord::FromBits(functionWord);
  functionSwitches_.ShowOptions(options);
  hardwareSwitches_.LetBoardDrive(DigitalLine::D1, !options.D1Output);
  hardwareSwitches_.LetBoardDrive(DigitalLine::D0, !options.D0Output);
  functionSwitches_.OfferReadWhileALineIsInput();
}

void MainWindow::ApplyInitialState() {
  BoardAccess::Action action(board_);
  ProgramValues &v = values_;

  // 1-2. The converter's options onto the switches. The options the program
  // keeps stay as they are: only the display follows the read-back, and
  // only when there was one.
  if (const Reading<int32_t> read = board_.ReadRegister(Command::FunctionRegister); read.Answered())
    v.FunctionRegisterShadow = FunctionWord::FromBits(read.Value).Bits();
  ShowFunctionOptions(v.FunctionRegisterShadow);

  // 3. The lists.
  registerPanel_.FillLists();

  // 4. The no-operation word: register select is still 0.
  v.DataValue = 0;
  v.Word = v.Word.WithChannel(Channel::A);
  board_.WriteRegister(v.Word, v.DataValue);

  // 5-6. The entry area hidden but for the voltage box, the channel list shown.
  registerPanel_.ShowVoltageEntryOnly();
  registerPanel_.ShowChannelList();
  registerPanel_.ShowDisplayMode();

  // 7-8. The level switches stay locked until a direction switch is flipped;
  // "READ" is offered while either line is an input of the converter.
  functionSwitches_.LockLevelSwitches();
  functionSwitches_.OfferReadWhileALineIsInput();

  // 9-10. LDAC pulsing on: the tick runs the box's action, which sends every
  // control line.
  hardwareSwitches_.StartPulsingAfterWrites();

  // 11. The data register view of DAC A, read back.
  registerPanel_.ChooseRegister(QStringLiteral("Data register"));
  // No range has been read yet, so that read-back notes that its volts take
  // the start-up range: no news to a user who has not done anything.
  board_.DropNotes();

  // 12. That read-back wrote the function word from the options kept, so the
  // switches show what the converter holds now, not what it held at step 1.
  ShowFunctionOptions(v.FunctionRegisterShadow);
}

} // namespace vq
