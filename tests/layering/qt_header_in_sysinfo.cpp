// Breaks the rules: sysinfo is Qt-free.
#include <QString>
