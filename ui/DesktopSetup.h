#pragma once

#include "app/Workbench.h"

namespace kavelto {

// The workbench's surroundings on this desktop: the program's name is the executable's without
// extension; the manual is looked for in the working directory, then where it is installed
// beside the program; sessions are kept in the user's state folder.
WorkbenchSetup DesktopSetup();

} // namespace kavelto
