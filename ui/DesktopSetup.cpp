#include "DesktopSetup.h"

#include "FileChooser.h"
#include "app/ColumnMapLookup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kavelto {

WorkbenchSetup DesktopSetup() {
    const QString manual = QStringLiteral("KaveltoManual.pdf");
    const QDir installed(QCoreApplication::applicationDirPath() +
                         QStringLiteral("/" KAVELTO_MANUAL_FROM_PROGRAM));
    WorkbenchSetup setup;
    setup.programName =
        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
    setup.manualPaths = {LocalPath(QDir::current().absoluteFilePath(manual)),
                         LocalPath(QDir::cleanPath(installed.absoluteFilePath(manual)))};
    setup.stateFolder = SessionStateFolder();
    setup.noStateFolder = setup.stateFolder.empty();
    const std::string configFolder = ColumnMapLookup::FromEnvironment().userFolder();
    if (!configFolder.empty())
        setup.pinOneTable = configFolder + "/pin1-corrections.txt";
    return setup;
}

} // namespace kavelto
