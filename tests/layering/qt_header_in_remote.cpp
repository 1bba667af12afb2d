// Breaks the rules: the SCPI command layer is Qt-free.
#include <QString>
