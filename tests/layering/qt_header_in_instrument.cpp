// Breaks the rules: the bench instrument knows no Qt.
#include <QString>
