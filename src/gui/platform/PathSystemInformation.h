#pragma once
// Elsewhere than on Windows: the first information tool found on the PATH, in this order:
// hardinfo, kinfocenter, gnome-system-monitor.

#include "platform/SystemInformation.h"

#include <QStringList>

namespace quorvex {

class PathSystemInformation : public SystemInformation {
public:
    // `searchPath` empty: the PATH of the environment.
    explicit PathSystemInformation(QStringList searchPath = {});
    QString toolPath() override;

    static QStringList toolNames();

private:
    QStringList m_searchPath;
};

} // namespace quorvex
