// Breaks the rules: the number rules is Qt-free.
#include <QString>
