// The program's icon, drawn in code so the program needs no file beside it.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace vq {

QIcon ProgramIcon();

// The same drawing at any size, for the icon files the package installs.
QPixmap DrawProgramIcon(int size);

} // namespace vq
