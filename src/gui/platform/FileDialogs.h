#pragma once
// The open and save file dialogs. An empty result means the user cancelled.

#include <QString>

class QWidget;

namespace quorvex {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // filter in the windows' own form, "Description|pattern"; fileName: the name proposed.
    virtual QString showOpen(QWidget* parent, const QString& filter, const QString& fileName) = 0;
    virtual QString showSave(QWidget* parent, const QString& filter, const QString& fileName) = 0;
};

} // namespace quorvex
