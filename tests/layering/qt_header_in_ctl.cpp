// Breaks the rules: vq8231ctl is Qt-free.
#include <QString>
