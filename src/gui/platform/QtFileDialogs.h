#pragma once
// Open and save dialogs on screen. The filter comes in the windows' own form,
// "Description|pattern", and is shown as that one entry.

#include "platform/FileDialogs.h"

namespace quorvex {

class QtFileDialogs : public FileDialogs {
public:
    QString showOpen(QWidget* parent, const QString& filter, const QString& fileName) override;
    QString showSave(QWidget* parent, const QString& filter, const QString& fileName,
                     const QString& title = QString()) override;
    SaveAnswer showSaveAs(QWidget* parent, const QStringList& filters, const QString& fileName,
                          const QString& title = QString()) override;

    // "Fichiers Texte (*.TXT)|*.TXT" -> "Fichiers Texte (*.TXT)" with the pattern *.TXT.
    // A filter without "|" is taken as the pattern alone.
    static QString toQtFilter(const QString& filter);
};

} // namespace quorvex
