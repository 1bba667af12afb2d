// Renders the program icon, drawn in code, into the icon theme's PNG files:
// <directory>/<size>x<size>/apps/vq8231.png for each size given. Run at build
// time on the offscreen platform.
#include "windows/program_icon.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char *argv[]) {
  QGuiApplication app(argc, argv);
  const QStringList arguments = QGuiApplication::arguments();
  if (arguments.size() < 3) {
    std::fprintf(stderr, "usage: render_icons <directory> <size>...\n");
    return 2;
  }
  const QDir root(arguments[1]);
  for (qsizetype i = 2; i < arguments.size(); ++i) {
    bool isNumber = false;
    const int size = arguments[i].toInt(&isNumber);
    if (!isNumber || size < 8 || size > 1024) {
      std::fprintf(stderr, "render_icons: \"%s\" is not an icon size (8 to 1024 pixels)\n", qPrintable(arguments[i]));
      return 2;
    }
    const QString folder = QStringLiteral("%1x%1/apps").arg(size);
    const QString file = root.filePath(folder + QStringLiteral("/vq8231.png"));
    if (!root.mkpath(folder) || !vq::DrawProgramIcon(size).save(file, "PNG")) {
      std::fprintf(stderr, "render_icons: cannot write %s\n", qPrintable(QDir::toNativeSeparators(file)));
      return 1;
    }
  }
  return 0;
}
