// Breaks the rules: the simulated board is Qt-free.
#include <QString>
