// Breaks the rules: usbboard is Qt-free.
#include <QString>
