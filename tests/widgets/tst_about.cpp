// The About box: what it shows in both programs, and how "System Info..."
// finds the system-information program, through a scripted platform.
#include "sysinfo/system_info.h"
#include "tests/support/form_fixture.h"
#include "windows/about_box.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>

using namespace vq;
using namespace vq::test;

namespace {

const std::string PathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string LocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

struct StoredValue {
  uint32_t Type = RegistryString;
  std::string Bytes;
  std::optional<uint32_t> ReportedSize; // the byte count by default
};

StoredValue Text(const std::string &text) {
  return {RegistryString, text + std::string(1, '\0'), {}};
}

// A registry and file system given by the test; every call is logged.
class ScriptedPlatform : public SystemInfoPlatform {
public:
  bool OpenKey(RegistryRoot root, const std::string &key, uint32_t access, RegistryKeyHandle &handle) override {
    Log << QStringLiteral("open %1 %2 %3")
               .arg(root == RegistryRoot::LocalMachine ? "HKLM" : "?", QString::fromStdString(key))
               .arg(access, 0, 16);
    if (ThrowOnOpen)
      throw std::runtime_error("registry exploded");
    const auto found = Keys.find(key);
    if (found == Keys.end())
      return false;
    handle = 100 + static_cast<RegistryKeyHandle>(std::distance(Keys.begin(), found));
    opened_[handle] = key;
    return true;
  }
  bool QueryValue(RegistryKeyHandle handle, const std::string &valueName, RegistryValueQuery &query) override {
    const bool zeroed = std::all_of(query.Data.begin(), query.Data.end(), [](uint8_t b) { return b == 0; });
    Log << QStringLiteral("query %1 buffer %2 size %3%4")
               .arg(QString::fromStdString(valueName))
               .arg(query.Data.size())
               .arg(query.Size)
               .arg(zeroed ? "" : " not zeroed");
    const auto &values = Keys[opened_.at(handle)];
    const auto found = values.find(valueName);
    if (found == values.end())
      return false;
    const StoredValue &value = found->second;
    query.Type = value.Type;
    std::copy(value.Bytes.begin(), value.Bytes.end(), query.Data.begin());
    query.Size = value.ReportedSize.value_or(static_cast<uint32_t>(value.Bytes.size()));
    return true;
  }
  void CloseKey(RegistryKeyHandle handle) override {
    Log << QStringLiteral("close %1").arg(QString::fromStdString(opened_.at(handle)));
  }
  bool FileExists(const std::string &path) override {
    Log << QStringLiteral("exists %1").arg(QString::fromStdString(path));
    return Files.count(path) > 0;
  }
  bool StartProcess(const std::string &path) override {
    Log << QStringLiteral("start %1").arg(QString::fromStdString(path));
    return Startable;
  }

  std::map<std::string, std::map<std::string, StoredValue>> Keys;
  std::set<std::string> Files;
  bool Startable = true;
  bool ThrowOnOpen = false;
  QStringList Log;

private:
  std::map<RegistryKeyHandle, std::string> opened_;
};

QAction *AboutMenu(MainWindow &form) {
  auto *action = form.findChild<QAction *>(QStringLiteral("MnuAbout"));
  if (action == nullptr)
    qFatal("no MnuAbout");
  return action;
}

template <typename T> T *Child(QWidget *form, const char *name) {
  auto *child = form->findChild<T *>(QString::fromLatin1(name));
  if (child == nullptr)
    qFatal("no control %s", name);
  return child;
}

} // namespace

class AboutTest : public QObject {
  Q_OBJECT
private slots:
  void showsTitleAndVersionOfEachProgram_data();
  void showsTitleAndVersionOfEachProgram();
  void okUnloadsTheBoxAndTheMenuLoadsItAgain();
  void systemInfoIsUnavailableWithoutARegistry();
  void getKeyValueReadsStringsAndNumbers_data();
  void getKeyValueReadsStringsAndNumbers();
  void startSysInfoLooksInTheRegistry_data();
  void startSysInfoLooksInTheRegistry();
};

void AboutTest::showsTitleAndVersionOfEachProgram_data() {
  QTest::addColumn<bool>("earlierBuild");
  QTest::addColumn<QString>("version");
  QTest::newRow("VQ8231(version2)") << false << "Version  1.0.4";
  QTest::newRow("VQ8231") << true << "Version  1.0.1";
}

void AboutTest::showsTitleAndVersionOfEachProgram() {
  QFETCH(bool, earlierBuild);
  QFETCH(QString, version);
  RecordingForm f(earlierBuild);
  f.link.DownloadStatus = earlierBuild ? 1 : 0; // the earlier library reports success as >= 1
  QVERIFY(f.fixture.Start());

  AboutMenu(f.fixture.Window())->trigger();

  AboutBox *about = f.fixture.Window().About();
  QVERIFY(about != nullptr);
  QVERIFY(about->isVisible());
  QVERIFY(!about->isModal());
  QCOMPARE(about->objectName(), QStringLiteral("frmAbout"));
  QCOMPARE(about->windowTitle(), QStringLiteral("About VQ8231 Evaluation Software"));
  QCOMPARE(Child<QLabel>(about, "lblTitle")->text(), QStringLiteral("VQ8231 Evaluation Software"));
  QCOMPARE(Child<QLabel>(about, "lblVersion")->text(), version);
  QVERIFY(Child<QLabel>(about, "lblDescription")->text().contains(QStringLiteral("www.korvell.example")));
  QVERIFY(!Child<QLabel>(about, "picIcon")->pixmap().isNull());
  QCOMPARE(Child<QPushButton>(about, "cmdOK")->text(), QStringLiteral("OK"));
  QCOMPARE(Child<QPushButton>(about, "cmdSysInfo")->text(), QStringLiteral("&System Info..."));
  // Modeless: the main window keeps working while it is open.
  QCOMPARE(QApplication::activeModalWidget(), nullptr);
  QVERIFY(f.fixture.Window().isEnabled());
}

void AboutTest::okUnloadsTheBoxAndTheMenuLoadsItAgain() {
  RecordingForm f;
  QVERIFY(f.fixture.Start());
  AboutMenu(f.fixture.Window())->trigger();
  QPointer<AboutBox> first = f.fixture.Window().About();
  AboutMenu(f.fixture.Window())->trigger(); // a second choice shows the same box
  QCOMPARE(f.fixture.Window().About(), first.data());

  QTest::mouseClick(Child<QPushButton>(first, "cmdOK"), Qt::LeftButton);
  QTRY_VERIFY(first.isNull());

  AboutMenu(f.fixture.Window())->trigger();
  QVERIFY(f.fixture.Window().About() != nullptr);
  QVERIFY(f.fixture.Window().About()->isVisible());
}

void AboutTest::systemInfoIsUnavailableWithoutARegistry() {
  MessageAnswerer answerer;
  AboutBox about(QStringLiteral("VQ8231 Evaluation Software"), {1, 0, 4});
  about.show();
  QTest::mouseClick(Child<QPushButton>(&about, "cmdSysInfo"), Qt::LeftButton);
#ifdef _WIN32
  QSKIP("depends on the machine's registry");
#endif
  QCOMPARE(answerer.Seen.size(), 1);
  QCOMPARE(answerer.Seen[0].text, QStringLiteral("System Information Is Unavailable At This Time"));
  QCOMPARE(answerer.Seen[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  QVERIFY(about.isVisible()); // the box stays open
}

void AboutTest::getKeyValueReadsStringsAndNumbers_data() {
  QTest::addColumn<bool>("keyExists");
  QTest::addColumn<bool>("valueExists");
  QTest::addColumn<uint>("type");
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<int>("reportedSize"); // -1: the byte count
  QTest::addColumn<bool>("read");
  QTest::addColumn<QString>("output");
  QTest::addColumn<QStringList>("calls");

  const QString open = QStringLiteral("open HKLM Key 20019");
  const QString query = QStringLiteral("query Value buffer 1024 size 1024");
  const QString close = QStringLiteral("close Key");
  const QByteArray zero(1, '\0');

  QTest::newRow("string: trailing zero dropped")
      << true << true << 1u << QByteArray("C:\\Info\\msinfo32.exe") + zero << -1 << true << "C:\\Info\\msinfo32.exe"
      << QStringList{open, query, close};
  QTest::newRow("string without trailing zero")
      << true << true << 1u << QByteArray("abc") << -1 << true << "abc" << QStringList{open, query, close};
  QTest::newRow("only the reported size is kept")
      << true << true << 1u << QByteArray("abcdef") << 3 << true << "abc" << QStringList{open, query, close};
  QTest::newRow("only one zero is dropped") << true << true << 1u << QByteArray("ab") + zero + zero << -1 << true
                                            << QString("ab") + QChar(0) << QStringList{open, query, close};
  QTest::newRow("size past the buffer is not trusted")
      << true << true << 1u << QByteArray("abc") << 5000 << true << "abc" + QString(1020, QChar(0))
      << QStringList{open, query, close};
  QTest::newRow("number 261") << true << true << 4u << QByteArray("\x05\x01\x00\x00", 4) << -1 << true << "261"
                              << QStringList{open, query, close};
  QTest::newRow("number 256: the zero high byte is dropped, the value stays")
      << true << true << 4u << QByteArray("\x00\x01\x00\x00", 4) << -1 << true << "256"
      << QStringList{open, query, close};
  QTest::newRow("number 0") << true << true << 4u << QByteArray(4, '\0') << -1 << true << "0"
                            << QStringList{open, query, close};
  QTest::newRow("number with all bits set")
      << true << true << 4u << QByteArray(4, '\xFF') << -1 << true << "4294967295" << QStringList{open, query, close};
  QTest::newRow("other type is not read")
      << true << true << 2u << QByteArray("%windir%") + zero << -1 << false << "" << QStringList{open, query, close};
  QTest::newRow("binary is not read") << true << true << 3u << QByteArray("\x01\x02", 2) << -1 << false << ""
                                      << QStringList{open, query, close};
  QTest::newRow("missing value: empty, key closed")
      << true << false << 1u << QByteArray() << -1 << false << "" << QStringList{open, query, close};
  QTest::newRow("missing key: empty, nothing to close")
      << false << false << 1u << QByteArray() << -1 << false << "" << QStringList{open};
}

void AboutTest::getKeyValueReadsStringsAndNumbers() {
  QFETCH(bool, keyExists);
  QFETCH(bool, valueExists);
  QFETCH(uint, type);
  QFETCH(QByteArray, bytes);
  QFETCH(int, reportedSize);
  QFETCH(bool, read);
  QFETCH(QString, output);
  QFETCH(QStringList, calls);
  ScriptedPlatform platform;
  if (keyExists)
    platform.Keys["Key"];
  if (valueExists) {
    StoredValue value{type, bytes.toStdString(), {}};
    if (reportedSize >= 0)
      value.ReportedSize = static_cast<uint32_t>(reportedSize);
    platform.Keys["Key"]["Value"] = value;
  }

  std::string text = "before";
  QCOMPARE(GetKeyValue(platform, RegistryRoot::LocalMachine, "Key", "Value", text), read);

  QCOMPARE(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())), output);
  QCOMPARE(platform.Log, calls);
}

void AboutTest::startSysInfoLooksInTheRegistry_data() {
  QTest::addColumn<bool>("pathKey");
  QTest::addColumn<bool>("locationKey");
  QTest::addColumn<bool>("fileThere");
  QTest::addColumn<bool>("startable");
  QTest::addColumn<bool>("throws");
  QTest::addColumn<QStringList>("calls");
  QTest::addColumn<bool>("unavailable");

  const QString openPath = QStringLiteral("open HKLM SOFTWARE\\Microsoft\\Shared Tools\\MSINFO 20019");
  const QString queryPath = QStringLiteral("query PATH buffer 1024 size 1024");
  const QString closePath = QStringLiteral("close SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
  const QString openLocation = QStringLiteral("open HKLM SOFTWARE\\Microsoft\\Shared Tools Location 20019");
  const QString queryLocation = QStringLiteral("query MSINFO buffer 1024 size 1024");
  const QString closeLocation = QStringLiteral("close SOFTWARE\\Microsoft\\Shared Tools Location");
  const QString exists = QStringLiteral("exists C:\\Tools\\MSINFO32.EXE");
  const QString startJoined = QStringLiteral("start C:\\Tools\\MSINFO32.EXE");
  const QString startPath = QStringLiteral("start C:\\Info\\msinfo32.exe");

  QTest::newRow("path key: started, no second key, no file check")
      << true << true << false << true << false << QStringList{openPath, queryPath, closePath, startPath} << false;
  QTest::newRow("location key and file: joined path started")
      << false << true << true << true << false
      << QStringList{openPath, openLocation, queryLocation, closeLocation, exists, startJoined} << false;
  QTest::newRow("location key, file missing")
      << false << true << false << true << false
      << QStringList{openPath, openLocation, queryLocation, closeLocation, exists} << true;
  QTest::newRow("neither key") << false << false << false << true << false << QStringList{openPath, openLocation}
                               << true;
  QTest::newRow("program does not start")
      << true << false << false << false << false << QStringList{openPath, queryPath, closePath, startPath} << true;
  QTest::newRow("registry fails with an error")
      << true << true << true << true << true << QStringList{openPath} << true;
}

void AboutTest::startSysInfoLooksInTheRegistry() {
  QFETCH(bool, pathKey);
  QFETCH(bool, locationKey);
  QFETCH(bool, fileThere);
  QFETCH(bool, startable);
  QFETCH(bool, throws);
  QFETCH(QStringList, calls);
  QFETCH(bool, unavailable);
  ScriptedPlatform platform;
  if (pathKey)
    platform.Keys[PathKey]["PATH"] = Text("C:\\Info\\msinfo32.exe");
  if (locationKey)
    platform.Keys[LocationKey]["MSINFO"] = Text("C:\\Tools");
  if (fileThere)
    platform.Files.insert("C:\\Tools\\MSINFO32.EXE");
  platform.Startable = startable;
  platform.ThrowOnOpen = throws;
  MessageAnswerer answerer;
  AboutBox about(QStringLiteral("VQ8231 Evaluation Software"), {1, 0, 4});
  about.SetSystemInfoPlatform(platform);
  about.show();

  QTest::mouseClick(Child<QPushButton>(&about, "cmdSysInfo"), Qt::LeftButton);

  QCOMPARE(platform.Log, calls);
  QCOMPARE(answerer.Seen.size(), unavailable ? 1 : 0);
  if (unavailable) {
    QCOMPARE(answerer.Seen[0].text, QStringLiteral("System Information Is Unavailable At This Time"));
    QCOMPARE(answerer.Seen[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  }
  QVERIFY(about.isVisible());
}

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
