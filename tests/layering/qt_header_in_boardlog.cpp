// Breaks the rules: the request log and its decoder are Qt-free.
#include <QString>
