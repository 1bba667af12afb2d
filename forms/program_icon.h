// The program's icon, drawn in code so the program needs no file beside it.
#pragma once

#include <QIcon>

namespace vq {

QIcon ProgramIcon();

} // namespace vq
