#include "platform/PathSystemInformation.h"

#include <QStandardPaths>

namespace quorvex {

PathSystemInformation::PathSystemInformation(QStringList searchPath)
    : m_searchPath(std::move(searchPath))
{
}

QStringList PathSystemInformation::toolNames()
{
    return {QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor")};
}

QString PathSystemInformation::toolPath()
{
    for (const QString& name : toolNames()) {
        const QString found = QStandardPaths::findExecutable(name, m_searchPath);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

} // namespace quorvex
