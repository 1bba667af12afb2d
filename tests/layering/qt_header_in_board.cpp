// Breaks the rules: the board link is Qt-free.
#include <QString>
