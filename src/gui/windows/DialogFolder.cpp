#include "windows/DialogFolder.h"

#include "platform/FileTest.h"

#include <QDir>
#include <QFileInfo>

namespace quorvex {

QString nameInOrdinaryFolder(FileTest& files, const QString& remembered, const QString& latinPath)
{
    if (remembered.isEmpty())
        return remembered;
    const QFileInfo name(remembered);
    if (files.isOrdinaryFolder(name.absolutePath()))
        return remembered;
    const QString fileName = name.fileName();
    if (latinPath.isEmpty())
        return fileName;
    const QFileInfo latin(latinPath);
    return files.isOrdinaryFolder(latin.absolutePath()) ? QDir(latin.absolutePath()).filePath(fileName)
                                                        : fileName;
}

} // namespace quorvex
