// Breaks the rules: writing files is Qt-free.
#include <QString>
