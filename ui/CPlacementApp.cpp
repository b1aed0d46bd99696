#include "CPlacementApp.h"

#include "CPlacementDlg.h"
#include "Platform.h"

#include <QString>

namespace kavelto {

int CPlacementApp::run() {
    CPlacementDlg window(platform_);
    // The configuration is looked up in the working directory, never beside the program.
    if (!window.LoadColumnMap(QStringLiteral("Kavelto.ini")))
        return 1;
    platform_.runModal(window);
    return 0;
}

} // namespace kavelto
