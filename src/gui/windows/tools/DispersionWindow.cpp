#include "windows/tools/DispersionWindow.h"

#include "platform/BusyPointer.h"
#include "platform/FileDialogs.h"
#include "platform/FileMessages.h"
#include "platform/MessageBoxes.h"
#include "platform/TextCodec.h"
#include "session/Session.h"
#include "text/TextFile.h"
#include "windows/WindowDirectory.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <ostream>

namespace quorvex {

namespace {

const QString kPictureFilter = QStringLiteral("Images SVG (*.svg)|*.svg");

} // namespace

DispersionBandsModel::DispersionBandsModel(QObject* parent)
    : ToolTableModel({QStringLiteral("Partie"), QStringLiteral("Mots"), QStringLiteral("Attestations"),
                      QStringLiteral("Pour 10 000 mots")},
                     {false, true, true, true}, parent)
{
}

void DispersionBandsModel::adopt(std::vector<DispersionBand>& bands)
{
    resetWith([&] { m_bands.swap(bands); });
}

QString DispersionBandsModel::text(std::size_t row, int column) const
{
    const DispersionBand& band = m_bands[row];
    switch (column) {
    case 0:
        return fromCp1252(bandLabel(m_bands, row));
    case 1:
        return QString::number(band.words);
    case 2:
        return QString::number(band.ticks.size());
    default:
        return QString::fromStdString(bandRate(band));
    }
}

QVariant DispersionBandsModel::sortKey(std::size_t row, int column) const
{
    const DispersionBand& band = m_bands[row];
    switch (column) {
    case 1:
        return qulonglong(band.words);
    case 2:
        return qulonglong(band.ticks.size());
    case 3:
        return band.words ? double(band.ticks.size()) / double(band.words) : 0.0;
    default:
        // In the text's order, whatever the labels.
        return qulonglong(row);
    }
}

DispersionWindow::DispersionWindow(WindowDirectory& windows, QWidget* searchWindow)
    : ToolWindow(windows, searchWindow, "frmDispersion", QStringLiteral("Dispersion"))
{
    m_pictureView = new QSvgWidget;
    m_pictureView->setObjectName(QStringLiteral("image"));
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(m_pictureView);
    m_scroll->setBackgroundRole(QPalette::Base);
    m_model = new DispersionBandsModel(this);
    m_table = newToolTableView(m_model, this);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_scroll);
    split->addWidget(m_table);
    m_saveButton = new QPushButton(QStringLiteral("&Enregistrer l'image..."), this);
    m_saveButton->setObjectName(QStringLiteral("enregistrer_image"));
    m_saveButton->setAutoDefault(false);
    m_saveButton->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_saveButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split);
    layout->addLayout(buttons);
    resize(760, 560);
    m_table->setFocus();  // the keyboard starts on the rows, not on the controls above them
    connect(m_saveButton, &QPushButton::clicked, this, &DispersionWindow::onSaveClicked);
}

bool DispersionWindow::rebuild(ToolProgress& progress)
{
    std::string svg;
    std::vector<DispersionBand> bands;
    // Drawn for any search, as the command line draws it, even when it found nothing.
    if (m_session.searched()) {
        if (!progress.advance(0, 2))
            return false;
        bands = dispersionBands(searchResult().words(), searchResult().list());
        if (!progress.advance(1, 2))
            return false;
        svg = dispersionSvg(bands, m_session.typedForm());
    }
    m_model->adopt(bands);
    const QByteArray bytes = QByteArray::fromStdString(svg);
    m_svg.swap(svg);
    m_pictureView->load(bytes);
    m_pictureView->resize(m_svg.empty() ? QSize(0, 0) : m_pictureView->renderer()->defaultSize());
    m_saveButton->setEnabled(!m_svg.empty());
    return true;
}

void DispersionWindow::onSaveClicked()
{
    if (m_svg.empty())
        return;
    const Platform& platform = m_windows.platform();
    const QString name = platform.fileDialogs.showSave(
        this, kPictureFilter, m_saveName.isEmpty() ? QStringLiteral("dispersion.svg") : m_saveName);
    if (name.isEmpty())
        return;
    m_saveName = name;
    FileError error;
    {
        BusyGuard busy(platform.busy, this);
        WriteControl control;
        control.expectedSize = static_cast<std::int64_t>(m_svg.size());
        // The texts are never written over, whatever the name chosen.
        control.latinPath = toPath(m_session.latinPath());
        control.frenchPath = toPath(m_session.frenchPath());
        const std::string& svg = m_svg;
        error = writeFileReplacing(
            toPath(name),
            [&svg](std::ostream& file) {
                file.write(svg.data(), static_cast<std::streamsize>(svg.size()));
                return static_cast<bool>(file);
            },
            control);
    }
    if (error) {
        platform.messages.show(this, fileErrorMessage(error));
        return;
    }
    Message done;
    done.text = QStringLiteral("L'image est enregistrée.");
    platform.messages.show(this, done);
}

} // namespace quorvex
