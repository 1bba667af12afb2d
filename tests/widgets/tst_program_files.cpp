// The built programs, copied into a directory of their own with some of the
// files they need (or bad ones), started from another working directory.
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>
#include <fstream>

class ProgramFilesTest : public QObject {
  Q_OBJECT
private slots:
  void realProgramsFindTheirFilesBesideThemselves_data();
  void realProgramsFindTheirFilesBesideThemselves();
};

void ProgramFilesTest::realProgramsFindTheirFilesBesideThemselves_data() {
  QTest::addColumn<QString>("program");
  QTest::addColumn<QStringList>("beside");
  QTest::addColumn<QString>("complaint");       // empty: the program must be up and running
  QTest::addColumn<QByteArray>("subdirectory"); // the program's directory, as bytes
  const QString v2 = "VQ8231(version2)", earlier = "VQ8231";
  // A directory whose name is not UTF-8 (Latin-1 "café") must pass through
  // byte for byte to the loader and the board library.
  const QByteArray latin1("caf\xe9 dir");
  QTest::newRow("version2 in a Latin-1 directory")
      << v2 << QStringList{"KVL_CYUSB_USB4.so", "VQ8231.hex"} << "" << latin1;
  QTest::newRow("earlier in a Latin-1 directory")
      << earlier << QStringList{"libUSBFunctions.so", "VQ8231.hex"} << "" << latin1;
  QTest::newRow("version2, complete") << v2 << QStringList{"KVL_CYUSB_USB4.so", "VQ8231.hex"} << "" << QByteArray();
  QTest::newRow("version2, no library") << v2 << QStringList{"VQ8231.hex"} << "%1/KVL_CYUSB_USB4.so\" cannot be loaded"
                                        << QByteArray();
  QTest::newRow("version2, no firmware") << v2 << QStringList{"KVL_CYUSB_USB4.so"} << "Error Downloading Firmware"
                                         << QByteArray();
  QTest::newRow("earlier, complete") << earlier << QStringList{"libUSBFunctions.so", "VQ8231.hex"} << ""
                                     << QByteArray();
  QTest::newRow("earlier, no library") << earlier << QStringList{"VQ8231.hex"}
                                       << "libUSBFunctions.so\" cannot be loaded" << QByteArray();
  QTest::newRow("earlier, no firmware") << earlier << QStringList{"libUSBFunctions.so"} << "Error Downloading Firmware"
                                        << QByteArray();

  // Bad firmware files: "name=kind" puts a file of that kind in place.
  const QString download = "Error Downloading Firmware";
  for (const char *kind : {"empty", "corrupt", "directory", "huge"}) {
    QTest::addRow("version2, firmware %s", kind)
        << v2 << QStringList{"KVL_CYUSB_USB4.so", QStringLiteral("VQ8231.hex=") + kind} << download << QByteArray();
    QTest::addRow("earlier, firmware %s", kind)
        << earlier << QStringList{"libUSBFunctions.so", QStringLiteral("VQ8231.hex=") + kind} << download
        << QByteArray();
  }
  // Places: blanks and non-ASCII letters; a firmware path of exactly the 512
  // bytes the board library takes, and one byte more ("bytes:N" pads the
  // directory so the firmware path has N bytes).
  QTest::newRow("version2, blanks and UTF-8 in the directory")
      << v2 << QStringList{"KVL_CYUSB_USB4.so", "VQ8231.hex"} << "" << QByteArray("Mes essais – ½ V");
  QTest::newRow("version2, firmware path of 512 bytes")
      << v2 << QStringList{"KVL_CYUSB_USB4.so", "VQ8231.hex"} << "" << QByteArray("bytes:512");
  QTest::newRow("earlier, firmware path of 512 bytes")
      << earlier << QStringList{"libUSBFunctions.so", "VQ8231.hex"} << "" << QByteArray("bytes:512");
  QTest::newRow("version2, firmware path of 513 bytes") << v2 << QStringList{"KVL_CYUSB_USB4.so", "VQ8231.hex"}
                                                        << "directory path is too long" << QByteArray("bytes:513");
}

namespace {

// A directory below `home` whose firmware path has exactly `bytes` bytes,
// in components a file system takes (at most 255 bytes each).
std::filesystem::path PaddedDirectory(const std::filesystem::path &home, std::size_t bytes) {
  const std::size_t fixed = home.string().size() + std::string("/VQ8231.hex").size();
  std::size_t left = bytes - fixed;
  std::filesystem::path directory = home;
  while (left > 0) {
    std::size_t component = std::min<std::size_t>(left - 1, 200); // one byte for the separator
    if (left - (component + 1) == 1)
      --component; // never leave a single byte: a separator alone names nothing
    directory /= std::string(component, 'p');
    left -= component + 1;
  }
  return directory;
}

// A file in place of `name`, of a kind no board library should accept.
void PlaceBadFile(const std::filesystem::path &path, const std::string &kind) {
  if (kind == "directory") {
    std::filesystem::create_directory(path);
    return;
  }
  std::ofstream file(path, std::ios::binary);
  if (kind == "corrupt")
    file << ":10000000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF01\n:00000001FF\n"; // wrong checksum
  else if (kind == "huge")
    file << std::string(5 * 1024 * 1024, ':');
}

} // namespace

void ProgramFilesTest::realProgramsFindTheirFilesBesideThemselves() {
  QFETCH(QString, program);
  QFETCH(QStringList, beside);
  QFETCH(QString, complaint);
  QFETCH(QByteArray, subdirectory);
  QTemporaryDir directory;
  QVERIFY(directory.isValid());
  // Qt's file names are text, so the files go in through the bytes of the
  // path, and the program starts through a link with a plain name.
  const std::filesystem::path home = QFile::encodeName(directory.path()).toStdString();
  const std::filesystem::path programDirectory = subdirectory.startsWith("bytes:")
                                                     ? PaddedDirectory(home, subdirectory.mid(6).toUInt())
                                                     : home / subdirectory.toStdString();
  std::filesystem::create_directories(programDirectory);
  for (const QString &file : QStringList{program} + beside) {
    const std::string name = file.section('=', 0, 0).toStdString();
    if (file.contains('='))
      PlaceBadFile(programDirectory / name, file.section('=', 1).toStdString());
    else
      std::filesystem::copy_file(std::string(VQ_BIN_DIR "/") + name, programDirectory / name);
  }
  if (!subdirectory.isEmpty())
    std::filesystem::create_symlink(programDirectory / program.toStdString(), home / "start");
  const QString start = subdirectory.isEmpty() ? directory.filePath(program) : directory.filePath("start");
  if (complaint.contains("%1"))
    complaint = complaint.arg(directory.path());
  if (program == "VQ8231" && !beside.contains("libUSBFunctions.so") && qEnvironmentVariableIsSet("LD_LIBRARY_PATH"))
    QSKIP("the library search path names a directory holding the library");

  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("VQ_REPORT_WINDOW_SHOWN", "quit");
  child.setProcessEnvironment(environment);
  child.setWorkingDirectory("/");
  child.start(start, {});
  QVERIFY(child.waitForStarted());
  QString errors;
  QElapsedTimer clock;
  clock.start();
  // A good start reports its window shown and ends by itself; a fatal one
  // prints its message and then waits for the user, so it is ended here.
  while (clock.elapsed() < 10000 && child.state() == QProcess::Running &&
         (complaint.isEmpty() || !errors.contains(complaint))) {
    child.waitForReadyRead(100);
    errors += QString::fromLocal8Bit(child.readAllStandardError());
  }
  const bool endedByItself = child.state() != QProcess::Running;
  child.kill();
  child.waitForFinished();
  errors += QString::fromLocal8Bit(child.readAllStandardError());
  if (complaint.isEmpty()) {
    QVERIFY2(endedByItself && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, qPrintable(errors));
    QVERIFY2(errors.contains(": window shown"), qPrintable(errors));
    QVERIFY2(!errors.contains("cannot be loaded") && !errors.contains("Error Downloading"), qPrintable(errors));
  } else {
    QVERIFY2(errors.contains(complaint), qPrintable(errors));
  }
}

QTEST_GUILESS_MAIN(ProgramFilesTest)
#include "tst_program_files.moc"
