// Setup files in the window: a calibrated simulated board saved, its
// converter's supply cycled on the front panel and the setup opened again,
// in both programs and with several error seeds; the requests of an open;
// bad files refused with nothing sent; the menu items and --setup.
#include "app/start.h"
#include "panels/toggle_switch.h"
#include "setup/setup_file.h"
#include "setup/setup_load.h"
#include "tests/support/form_fixture.h"
#include "tests/support/panel_driver.h"
#include "tests/support/simulated_program.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <nlohmann/json.hpp>

#include <fstream>

using namespace vq;
using namespace vq::test;

class SetupFilesTest : public QObject {
  Q_OBJECT
private slots:
  void savedCalibrationComesBackAfterAPowerCycle_data();
  void savedCalibrationComesBackAfterAPowerCycle();
  void openSendsTheLoadSequenceAndNothingElse();
  void badFilesAreRefusedWithNothingSent();
  void aFailedSaveSaysSoAndKeepsTheFile();
  void menuOffersOpenAndSaveAboveExit();
  void commandLineNamesTheSetupFile_data();
  void commandLineNamesTheSetupFile();
};

namespace {

struct BoardState {
  std::array<sim::ChannelRegisters, 4> Channels;
  std::array<double, 4> Outputs;
  uint8_t Function;
  ControlLines Lines;
};

BoardState StateOf(const sim::BoardControl &board) {
  BoardState state{};
  for (int channel = 0; channel < 4; ++channel) {
    state.Channels[channel] = board.Registers(channel);
    state.Outputs[channel] = board.OutputVoltage(channel);
  }
  state.Function = board.FunctionRegister();
  state.Lines = board.Lines();
  return state;
}

void CompareStates(const BoardState &now, const BoardState &before) {
  for (int channel = 0; channel < 4; ++channel) {
    const sim::ChannelRegisters &a = now.Channels[channel], &b = before.Channels[channel];
    QCOMPARE(a.Input, b.Input);
    QCOMPARE(a.Dac, b.Dac);
    QCOMPARE(a.Coarse, b.Coarse);
    QCOMPARE(a.Fine, b.Fine);
    QCOMPARE(a.Offset, b.Offset);
    QCOMPARE(now.Outputs[channel], before.Outputs[channel]);
  }
  QCOMPARE(now.Function, before.Function);
  QVERIFY(now.Lines == before.Lines);
}

BoardSetup SomeSetup() {
  BoardSetup setup;
  for (std::size_t row = 0; row < ReadableRegisters.size(); ++row)
    setup.SetCode(ReadableRegisters[row], static_cast<uint16_t>(0x2345 * (row + 1)));
  return setup;
}

std::string Write(const QTemporaryDir &folder, const char *name, const std::string &text) {
  const std::string path = folder.filePath(QString::fromLatin1(name)).toStdString();
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

} // namespace

void SetupFilesTest::savedCalibrationComesBackAfterAPowerCycle_data() {
  QTest::addColumn<bool>("earlierBuild");
  QTest::addColumn<uint>("seed");
  for (const Program &program : BothPrograms)
    for (uint seed : {8231u, 1u, 2u})
      QTest::addRow("%s, seed %u", program.Name, seed) << program.EarlierBuild << seed;
}

void SetupFilesTest::savedCalibrationComesBackAfterAPowerCycle() {
  QFETCH(bool, earlierBuild);
  QFETCH(uint, seed);
  SimulatedProgram program(earlierBuild);
  QVERIFY(program.fixture.Start());
  program.board.SetErrorSeed(seed);
  MainWindow &window = program.fixture.Window();
  MainWindowControls &ui = program.Controls();

  // Every register away from its power-on code, the outputs following.
  {
    BoardAccess::Action action(window.Board());
    for (Channel channel : {Channel::A, Channel::B, Channel::C, Channel::D}) {
      const auto n = static_cast<int32_t>(channel);
      window.Board().WriteRegister({Register::CoarseGain, channel}, n % 3);
      window.Board().WriteRegister({Register::FineGain, channel}, 0x21 + n);
      window.Board().WriteRegister({Register::Offset, channel}, 0x90 + 7 * n);
      window.Board().WriteRegister({Register::Data, channel}, 0x1234 + 0x3000 * n);
    }
  }
  for (ToggleSwitch *toggle :
       {ui.GroundOffsetSwitch, ui.D0DirectionSwitch, ui.D0LevelSwitch, ui.CodingSwitch, ui.DriveD1Switch}) {
    QVERIFY(toggle->Flippable());
    Flip(toggle);
  }
  ui.PulseAfterWriteBox->click();
  const BoardState saved = StateOf(program.board);

  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("calibrated.json"));
  QVERIFY(window.SaveSetupFile(path));

  program.fixture.Find<QPushButton>(QStringLiteral("PowerCycleButton"))->click();
  QVERIFY(program.board.FirmwareRunning());
  QCOMPARE(program.board.Registers(1).Fine, uint8_t{0});
  QVERIFY(!window.Registers().KnownCode({Register::Offset, Channel::B}));

  // A fresh window would start with the switches at their start levels; this
  // one shows them as the user left them, so the loaded state must be shown
  // whatever the switches showed before.
  ui.PulseAfterWriteBox->click();
  QCOMPARE(window.OpenSetupFile(path), QString());
  CompareStates(StateOf(program.board), saved);
  for (WordAddress address : ReadableRegisters)
    QVERIFY(window.Registers().KnownCode(address));

  QVERIFY(ui.GroundOffsetSwitch->Value());
  QVERIFY(ui.D0DirectionSwitch->Value());
  QVERIFY(ui.D0LevelSwitch->Value() && ui.D0LevelSwitch->Flippable());
  QVERIFY(!ui.D1DirectionSwitch->Value() && !ui.D1LevelSwitch->Flippable());
  QVERIFY(!ui.CodingSwitch->Value());
  QVERIFY(ui.DriveD1Switch->Value() && ui.DriveD1Switch->Flippable());
  QVERIFY(!ui.DriveD0Frame->isEnabled());
  QVERIFY(!ui.PulseAfterWriteBox->isChecked());
  QVERIFY(ui.LdacSwitch->Flippable());
  QVERIFY(!window.Board().PulsesAfterDataWrite());
  QCOMPARE(ui.RegisterValue->text(), QStringLiteral("1234")); // DAC A data, chosen at start
  QVERIFY(window.Status().Message().startsWith(QStringLiteral("Setup calibrated.json loaded.")));
}

void SetupFilesTest::openSendsTheLoadSequenceAndNothingElse() {
  RecordingForm form;
  QVERIFY(form.fixture.Start());
  QTemporaryDir folder;
  BoardSetup setup = SomeSetup();
  setup.PulseAfterDataWrite = false;
  const std::string path = Write(folder, "some.json", SetupText(setup, std::chrono::system_clock::now()));
  const BoardSetup loaded = *ReadSetupFile(path).Value;
  RecordingLink expected;
  for (RecordingLink *link : {&form.link, &expected})
    for (WordAddress address : ReadableRegisters)
      link->SetRegister(address,
                        *loaded.Code(address) & ~(address.IsFunctionGroup() ? FunctionWord::SdoDisabledBit : 0));
  SerialAccess serial(expected);
  const SetupLoadReport report = LoadSetup(serial, loaded);
  QVERIFY2(report.ReadsBackAsLoaded(), report.Summary().c_str());

  Taken(form.link);
  QCOMPARE(form.Window().OpenSetupFile(QString::fromStdString(path)), QString());
  QCOMPARE(Taken(form.link), Taken(expected));
  QVERIFY(form.fixture.answerer.Seen.isEmpty());
}

// What the reader refuses, and why, is tabled beside it; here, that the
// window says it, naming the file, and sends nothing.
void SetupFilesTest::badFilesAreRefusedWithNothingSent() {
  using Json = nlohmann::json;
  const Json good = Json::parse(SetupText(SomeSetup(), std::chrono::system_clock::now()));
  const struct {
    const char *what;
    std::function<void(Json &)> edit;
    const char *says;
  } rows[] = {
      {"another format", [](Json &j) { j["format"] = "other"; }, "field \"format\""},
      {"offset too large", [](Json &j) { j["channels"]["B"]["offset"]["code"] = 999; }, "999 is out of range"},
      {"not JSON", [](Json &j) { j = Json("x"); }, "not a setup object"},
  };
  RecordingForm form;
  QVERIFY(form.fixture.Start());
  QTemporaryDir folder;
  const ProgramValues before = form.fixture.values;
  for (const auto &row : rows) {
    Json file = good;
    row.edit(file);
    const std::string path = Write(folder, "bad.json", file.dump());
    Taken(form.link);
    form.fixture.answerer.Seen.clear();
    const QString refusal = form.Window().OpenSetupFile(QString::fromStdString(path));
    QVERIFY2(refusal.contains(QString::fromLatin1(row.says)), qPrintable(row.what + (": " + refusal)));
    QVERIFY2(refusal.contains(QStringLiteral("bad.json")), row.what);
    QVERIFY2(Taken(form.link).isEmpty(), row.what);
    QCOMPARE(form.fixture.answerer.Seen.size(), 1);
    QCOMPARE(form.fixture.answerer.Seen[0].text, refusal);
  }
  const std::string text = "{" + std::string(LargestSetupFile, ' ') + "}";
  const QString refusal = form.Window().OpenSetupFile(QString::fromStdString(Write(folder, "big.json", text)));
  QVERIFY(refusal.contains(QStringLiteral("larger than 1 MiB")));
  QVERIFY(Taken(form.link).isEmpty());
  QVERIFY(form.fixture.values.Lines == before.Lines);
  QVERIFY(form.fixture.values.Options == before.Options);
}

void SetupFilesTest::aFailedSaveSaysSoAndKeepsTheFile() {
  RecordingForm form;
  QVERIFY(form.fixture.Start());
  QTemporaryDir folder;
  QVERIFY(!form.Window().SaveSetupFile(folder.filePath(QStringLiteral("no-such-folder/setup.json"))));
  QCOMPARE(form.fixture.answerer.Seen.size(), 1);
  QVERIFY(form.fixture.answerer.Seen[0].text.contains(QStringLiteral("setup.json")));
  QVERIFY(form.fixture.answerer.Seen[0].text.endsWith(QStringLiteral("The setup was not saved.")));

  // The save read every register first, as "Read All" does.
  const QString path = folder.filePath(QStringLiteral("setup.json"));
  QVERIFY(form.Window().SaveSetupFile(path));
  const QStringList sent = Taken(form.link);
  for (WordAddress address : ReadableRegisters)
    QVERIFY(sent.contains(Read(address)[0]));
  QVERIFY(ReadSetupFile(path.toStdString()).Value);
}

void SetupFilesTest::menuOffersOpenAndSaveAboveExit() {
  RecordingForm form;
  QVERIFY(form.fixture.Start());
  const QList<QAction *> items = form.fixture.Find<QMenu>(QStringLiteral("MnuFile"))->actions();
  QStringList names;
  for (const QAction *item : items)
    if (!item->isSeparator())
      names << item->objectName();
  QCOMPARE(names, (QStringList{"MnuOpenSetup", "MnuSaveSetup", "MnuReconnect", "MnuExit"}));
  QCOMPARE(form.fixture.Find<QAction>(QStringLiteral("MnuOpenSetup"))->shortcut(),
           QKeySequence(QStringLiteral("Ctrl+O")));
  QCOMPARE(form.fixture.Find<QAction>(QStringLiteral("MnuSaveSetup"))->shortcut(),
           QKeySequence(QStringLiteral("Ctrl+S")));
  QCOMPARE(form.fixture.Find<QAction>(QStringLiteral("MnuSaveSetup"))->text(), QStringLiteral("&Save Setup..."));
}

void SetupFilesTest::commandLineNamesTheSetupFile_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<QString>("file");
  QTest::addColumn<QString>("problem");
  const QString program = QStringLiteral("VQ8231");
  QTest::newRow("none") << QStringList{program} << QString() << QString();
  QTest::newRow("apart") << QStringList{program, "--setup", "a b.json"} << "a b.json" << QString();
  QTest::newRow("joined") << QStringList{program, "-platform", "offscreen", "--setup=x.json"} << "x.json" << QString();
  QTest::newRow("no name") << QStringList{program, "--setup"} << QString() << "--setup needs the name of a setup file.";
  QTest::newRow("empty name") << QStringList{program, "--setup="} << QString()
                              << "--setup needs the name of a setup file.";
  QTest::newRow("twice") << QStringList{program, "--setup", "a", "--setup=b"} << "a"
                         << "--setup is given more than once.";
}

void SetupFilesTest::commandLineNamesTheSetupFile() {
  QFETCH(QStringList, arguments);
  QFETCH(QString, file);
  QFETCH(QString, problem);
  const StartOptions options = ReadStartOptions(arguments);
  QCOMPARE(options.Problem, problem);
  if (problem.isEmpty())
    QCOMPARE(options.SetupFile, file);
}

QTEST_MAIN(SetupFilesTest)
#include "tst_setup_files.moc"
