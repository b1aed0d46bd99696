#include "ProgramIcon.h"

#include <QSize>
#include <QString>

QIcon ProgramIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/kavelto/icon32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/kavelto/icon16.png"), QSize(16, 16));
    return icon;
}
