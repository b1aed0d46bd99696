#include "CPlacementApp.h"

#include "CPlacementDlg.h"
#include "Platform.h"
#include "app/ColumnMapLookup.h"

#include <QFile>
#include <QFileInfo>

namespace kavelto {

namespace {

bool FileExists(const std::string& path) {
    return QFileInfo::exists(QFile::decodeName(path.c_str()));
}

} // namespace

int CPlacementApp::run() {
    CPlacementDlg window(platform_);
    if (!loadColumnMap(window))
        return 1;
    if (line_.placementFile)
        window.loadFile(CommandId::LoadPkpFile, *line_.placementFile);
    if (line_.bom)
        window.loadFile(CommandId::LoadBom, *line_.bom);
    if (line_.picture)
        window.loadFile(CommandId::LoadBitmap, *line_.picture);
    platform_.runModal(window);
    return 0;
}

// The configuration is looked up in the working directory, never beside the program, then in
// the user's configuration folder.
bool CPlacementApp::loadColumnMap(CPlacementDlg& window) {
    const ColumnMapLookup lookup = ColumnMapLookup::FromEnvironment();
    std::optional<std::string> path = lookup.find(FileExists);
    if (!path)
        path = offerUserFile(window, lookup);
    return path && window.LoadColumnMap(QFile::decodeName(path->c_str()));
}

// A first run: Yes creates the user's file and goes on with it, No ends the run.
std::optional<std::string> CPlacementApp::offerUserFile(CPlacementDlg& window,
                                                        const ColumnMapLookup& lookup) {
    const Platform::Answer answer = platform_.showUserMessage(&window, lookup.missingMessage());
    if (!lookup.canCreate() || answer != Platform::Answer::Yes)
        return std::nullopt;
    if (const Result<void> created = lookup.createUserFile(); !created) {
        platform_.showUserMessage(&window, created.failure());
        return std::nullopt;
    }
    return lookup.userFile();
}

} // namespace kavelto
