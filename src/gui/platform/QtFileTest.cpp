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

bool QtFileTest::isOrdinaryFolder(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir())
        return false;
#ifndef Q_OS_WIN
    // Whatever a container mounts there, these show the system, not files.
    const QString canonical = info.canonicalFilePath();
    for (const QString& view : {QStringLiteral("/proc"), QStringLiteral("/sys"), QStringLiteral("/dev")})
        if (canonical == view || canonical.startsWith(view + QLatin1Char('/')))
            return false;
#endif
    const QStorageInfo storage(info.absoluteFilePath());
    return storage.isValid() && !isSystemView(storage.fileSystemType());
}

FileError QtFileTest::checkReadable(const QString& path) { return quorvex::checkReadable(toPath(path)); }

} // namespace quorvex
