#pragma once
// The open and save file dialogs. An empty result means the user cancelled.

#include <QString>
#include <QStringList>

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

    // A save dialog offering several kinds of file, one filter each: the name chosen (empty:
    // cancelled) and the index in `filters` of the one selected when the user accepted.
    struct SaveAnswer {
        QString fileName;
        int filter = 0;
    };
    virtual SaveAnswer showSaveAs(QWidget* parent, const QStringList& filters, const QString& fileName,
                                  const QString& title = QString()) = 0;
};

} // namespace quorvex
