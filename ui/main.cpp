#include "CPlacementApp.h"
#include "ProgramIcon.h"
#include "QtPlatform.h"
#include "base/AppIdentity.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Without a display Qt would abort with a message about its platform plugin.
bool HasDisplay() {
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") ||
           std::getenv("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("kavelto %s\n", kavelto::kProgramVersion);
        return 0;
    }
    if (!HasDisplay()) {
        std::fputs("kavelto: no display found; start it on a desktop, or under xvfb-run\n", stderr);
        return 2;
    }
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kavelto"));
    QApplication::setApplicationName(QStringLiteral("kavelto"));
    QApplication::setWindowIcon(ProgramIcon());
    kavelto::QtPlatform platform;
    return kavelto::CPlacementApp(platform).run();
}
