#pragma once

#include <QIcon>

// The program's icon in both of its sizes, 32 x 32 and 16 x 16 pixels.
QIcon ProgramIcon();
