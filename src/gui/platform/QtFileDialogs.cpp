#include "platform/QtFileDialogs.h"

#include <QAbstractFileIconProvider>
#include <QFileDialog>
#include <QFileInfo>

#include <algorithm>

namespace quorvex {

namespace {

// Icons and type names from the name alone. Qt's own provider guesses a file's type from
// its content when the name does not tell it, and reading a file such as /proc/kmsg never
// ends: the dialog froze for good.
class NameOnlyIconProvider : public QAbstractFileIconProvider {
public:
    using QAbstractFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override
    {
        return icon(info.isDir() ? Folder : File);
    }
    QString type(const QFileInfo& info) const override
    {
        if (info.isDir())
            return QStringLiteral("Dossier");
        const QString suffix = info.suffix();
        return suffix.isEmpty() ? QStringLiteral("Fichier")
                                : QStringLiteral("Fichier %1").arg(suffix.toUpper());
    }
};

// The extension of a filter's first pattern: "tsv" for "TSV (*.tsv)|*.tsv"; none for "*.*".
QString firstExtension(const QString& filter)
{
    const QString pattern =
        filter.mid(filter.indexOf(QLatin1Char('|')) + 1).section(QLatin1Char(';'), 0, 0).trimmed();
    if (!pattern.startsWith(QLatin1String("*.")) || pattern.indexOf(QLatin1Char('*'), 1) >= 0)
        return {};
    return pattern.mid(2);
}

FileDialogs::SaveAnswer run(QWidget* parent, QFileDialog::AcceptMode mode, const QStringList& filters,
                            const QString& fileName, const QString& title = QString())
{
    // No folder or extension of our own: the dialog opens where the proposed name lies, with
    // that name in its field (or in the current folder when there is none).
    NameOnlyIconProvider icons;  // outlives the dialog that uses it
    QFileDialog dialog(parent, title, fileName);
    QStringList qtFilters;
    for (const QString& filter : filters)
        qtFilters << QtFileDialogs::toQtFilter(filter);
    dialog.setNameFilters(qtFilters);
    // Offered several kinds, a name typed without extension takes the kind's.
    if (filters.size() > 1) {
        dialog.setDefaultSuffix(firstExtension(filters.first()));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& chosen) {
            dialog.setDefaultSuffix(firstExtension(filters.value(qtFilters.indexOf(chosen))));
        });
    }
    // Qt's own dialog matches the patterns without regard to case, so *.TXT also lists the
    // usual lower-case .txt files; a desktop's native dialog may not.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::DontUseCustomDirectoryIcons, true);
    dialog.setIconProvider(&icons);
    dialog.setAcceptMode(mode);
    if (mode == QFileDialog::AcceptSave) {
        dialog.setFileMode(QFileDialog::AnyFile);
        // The save command asks its own question about an existing file.
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return {};
    return {chosen.first(), std::max(0, int(qtFilters.indexOf(dialog.selectedNameFilter())))};
}

} // namespace

QString QtFileDialogs::toQtFilter(const QString& filter)
{
    const qsizetype bar = filter.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return filter;
    const QString description = filter.left(bar);
    const QString pattern = filter.mid(bar + 1).replace(QLatin1Char(';'), QLatin1Char(' '));
    // Qt reads the patterns from the parentheses at the end of the entry; when the
    // description already ends with them, it is shown unchanged.
    if (description.endsWith(QLatin1Char(')')) && description.contains(pattern))
        return description;
    return description + QLatin1String(" (") + pattern + QLatin1Char(')');
}

QString QtFileDialogs::showOpen(QWidget* parent, const QString& filter, const QString& fileName)
{
    return run(parent, QFileDialog::AcceptOpen, {filter}, fileName).fileName;
}

QString QtFileDialogs::showSave(QWidget* parent, const QString& filter, const QString& fileName,
                                const QString& title)
{
    return run(parent, QFileDialog::AcceptSave, {filter}, fileName, title).fileName;
}

FileDialogs::SaveAnswer QtFileDialogs::showSaveAs(QWidget* parent, const QStringList& filters,
                                                  const QString& fileName, const QString& title)
{
    return run(parent, QFileDialog::AcceptSave, filters, fileName, title);
}

} // namespace quorvex
