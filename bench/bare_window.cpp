// The yardstick for the programs' start-up: a bare Qt Widgets window of the
// main window's size; with --text it shows one line of text, so that it also
// loads the font database as every window with text does. Reports like the
// programs (VQ_REPORT_WINDOW_SHOWN).
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Bare window"));
  window.resize(978, 554);
  if (QApplication::arguments().contains(QStringLiteral("--text")))
    window.setCentralWidget(new QLabel(QStringLiteral("VQ8231 Evaluation Software")));
  window.show();
  if (qgetenv("VQ_REPORT_WINDOW_SHOWN") == "quit")
    QTimer::singleShot(0, &window, [] {
      std::fprintf(stderr, "Bare window: window shown\n");
      QCoreApplication::quit();
    });
  return app.exec();
}
