#include "tools/DispersionWindow.h"

#include "output/DispersionPlot.h"
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
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QVBoxLayout>

#include <ostream>

namespace quorvex {

namespace {

const QString kPictureFilter = QStringLiteral("Images SVG (*.svg)|*.svg");

} // namespace

DispersionWindow::DispersionWindow(WindowDirectory& windows, QWidget* searchWindow)
    : ToolWindow(windows, searchWindow, "frmDispersion", QStringLiteral("Dispersion"))
{
    m_pictureView = new QSvgWidget;
    m_pictureView->setObjectName(QStringLiteral("image"));
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(m_pictureView);
    m_scroll->setBackgroundRole(QPalette::Base);
    m_saveButton = new QPushButton(QStringLiteral("&Enregistrer l'image..."), this);
    m_saveButton->setObjectName(QStringLiteral("enregistrer_image"));
    m_saveButton->setAutoDefault(false);
    m_saveButton->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_saveButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_scroll);
    layout->addLayout(buttons);
    resize(760, 460);
    connect(m_saveButton, &QPushButton::clicked, this, &DispersionWindow::onSaveClicked);
}

bool DispersionWindow::rebuild(ToolProgress& progress)
{
    std::string svg;
    if (listHoldsAttestations()) {
        if (!progress.advance(0, 2))
            return false;
        const std::vector<DispersionBand> bands = dispersionBands(m_session.words(), m_session.results());
        if (!progress.advance(1, 2))
            return false;
        svg = dispersionSvg(bands, m_session.typedForm());
    }
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
