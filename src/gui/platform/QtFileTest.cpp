#include "platform/QtFileTest.h"

#include "platform/TextCodec.h"

#include <QFileInfo>
#include <QStorageInfo>

namespace quorvex {

bool QtFileTest::fileExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

bool QtFileTest::isRegularFile(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool QtFileTest::isSystemView(const QByteArray& type)
{
    static const QList<QByteArray> views = {
        "proc",      "sysfs",     "devtmpfs", "devpts", "debugfs", "tracefs",    "securityfs",
        "cgroup",    "cgroup2",   "pstore",   "bpf",    "configfs", "fusectl",   "mqueue",
        "hugetlbfs", "binfmt_misc", "autofs", "efivarfs", "rpc_pipefs", "nsfs"};
    return views.contains(type);
}

bool QtFileTest::isOrdinaryPlace(const QString& canonicalPath, const QByteArray& mountType)
{
#ifndef Q_OS_WIN
    // Whatever a container mounts there, these show the system, not files.
    for (const QString& view : {QStringLiteral("/proc"), QStringLiteral("/sys"), QStringLiteral("/dev")})
        if (canonicalPath == view || canonicalPath.startsWith(view + QLatin1Char('/')))
            return false;
#endif
    return !isSystemView(mountType);
}

bool QtFileTest::isOrdinaryFolder(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir())
        return false;
    // No mount entry covers it where / is not a mount point or /proc is not mounted (a
    // chroot): a folder all the same, known by its path alone.
    const QStorageInfo storage(info.absoluteFilePath());
    return isOrdinaryPlace(info.canonicalFilePath(), storage.isValid() ? storage.fileSystemType() : QByteArray());
}

FileError QtFileTest::checkReadable(const QString& path) { return quorvex::checkReadable(toPath(path)); }

} // namespace quorvex
