#include "CPlacementApp.h"
#include "PictureCache.h"
#include "ProgramIcon.h"
#include "QtPlatform.h"
#include "app/AppMessages.h"
#include "app/CommandLine.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

namespace {

// Without a display Qt would abort with a message about its platform plugin.
bool HasDisplay() {
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") ||
           std::getenv("QT_QPA_PLATFORM");
}

bool IsFolder(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// The files named are taken relative to the working folder, once the program is in it.
void MakeAbsolute(std::optional<std::string>& path) {
    if (path)
        path = QFile::encodeName(QDir::current().absoluteFilePath(QFile::decodeName(path->c_str())))
                   .toStdString();
}

} // namespace

int main(int argc, char* argv[]) {
    using kavelto::CommandLine;
    CommandLine line =
        kavelto::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), IsFolder);
    switch (line.action) {
    case CommandLine::Action::Help:
        std::fputs(kavelto::UsageText().c_str(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::fputs(kavelto::VersionText().c_str(), stdout);
        return 0;
    case CommandLine::Action::Refuse:
        std::fprintf(stderr, "%s\n%s\n", line.refusal.c_str(), kavelto::TryHelpText().c_str());
        return 2;
    case CommandLine::Action::Run:
        break;
    }
    if (!HasDisplay()) {
        std::fputs("kavelto: no display found; start it on a desktop, or under xvfb-run\n", stderr);
        return 2;
    }
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kavelto"));
    QApplication::setApplicationName(QStringLiteral("kavelto"));
    QApplication::setWindowIcon(ProgramIcon());
    if (line.folder && !QDir::setCurrent(QFile::decodeName(line.folder->c_str()))) {
        std::fprintf(stderr, "%s\n", kavelto::NotAFolderText(*line.folder).c_str());
        return 2;
    }
    MakeAbsolute(line.placementFile);
    MakeAbsolute(line.picture);
    MakeAbsolute(line.bom);
    kavelto::QtPlatform platform;
    const int status = kavelto::CPlacementApp(platform, line).run();
    // The window is gone and its session kept: a picture still decoding is not waited for.
    if (kavelto::PictureCache::DecodesAbandoned() > 0) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
