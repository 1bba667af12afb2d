// Breaks the rules: hexfile is Qt-free.
#include <QString>
