// Breaks the rules: setup files are Qt-free.
#include <QString>
