#include "CPlacementApp.h"
#include "PictureCache.h"
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
    const int status = kavelto::CPlacementApp(platform).run();
    // The window is gone and its session kept: a picture still decoding is not waited for.
    if (kavelto::PictureCache::DecodesAbandoned() > 0) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
