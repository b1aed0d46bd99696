#include "FileChooser.h"

#include "Platform.h"

#include <QFile>
#include <QStringList>

namespace kavelto {

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

std::optional<std::string> ChooseFile(Platform& platform, QWidget* owner, FileChoice choice) {
    QStringList filters;
    for (const char* filter : FileFilters(choice))
        filters << QString::fromUtf8(filter);
    const std::optional<QString> path = ChoosesFileToWrite(choice)
                                            ? platform.chooseFileToSave(owner, filters)
                                            : platform.chooseFileToOpen(owner, filters);
    if (!path)
        return std::nullopt;
    return LocalPath(*path);
}

} // namespace kavelto
