#pragma once
// The open and save file dialogs. An empty result means the user cancelled.

#include <QString>

class QWidget;

namespace quorvex {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // filter in the windows' own form, "Description|pattern"; fileName: the name proposed;
    // title: the dialog's caption (empty: the system's own).
    virtual QString showOpen(QWidget* parent, const QString& filter, const QString& fileName) = 0;
    virtual QString showSave(QWidget* parent, const QString& filter, const QString& fileName,
                             const QString& title = QString()) = 0;
};

} // namespace quorvex
