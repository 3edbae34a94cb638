#pragma once
// "Dispersion" (frmDispersion): where the list's attestations stand in the text, the picture
// quorvex-cli --plot draws, shown as it is with its bands in a table beneath, and saved as
// SVG through the file dialog.

#include "output/DispersionPlot.h"
#include "windows/tools/ToolTable.h"
#include "windows/tools/ToolWindow.h"

#include <string>
#include <vector>

class QPushButton;
class QScrollArea;
class QSvgWidget;
class QTableView;

namespace quorvex {

// A row per band: its label, its words, its attestations and their rate per 10,000 words.
class DispersionBandsModel : public ToolTableModel {
    Q_OBJECT
public:
    explicit DispersionBandsModel(QObject* parent = nullptr);
    void adopt(std::vector<DispersionBand>& bands);

protected:
    std::size_t rows() const override { return m_bands.size(); }
    QString text(std::size_t row, int column) const override;
    QVariant sortKey(std::size_t row, int column) const override;

private:
    std::vector<DispersionBand> m_bands;
};

class DispersionWindow : public ToolWindow {
    Q_OBJECT
public:
    DispersionWindow(WindowDirectory& windows, QWidget* searchWindow);

    // The picture shown (UTF-8 SVG); empty before a search.
    const std::string& picture() const { return m_svg; }
    // "Enregistrer l'image...": the SVG into the file the user names.
    void onSaveClicked();

protected:
    bool rebuild(ToolProgress& progress) override;
    QString workName() const override { return QStringLiteral("de la dispersion"); }

private:
    std::string m_svg;
    QString m_saveName;  // the name last chosen, proposed again
    QScrollArea* m_scroll = nullptr;
    QSvgWidget* m_pictureView = nullptr;
    DispersionBandsModel* m_model = nullptr;
    QTableView* m_table = nullptr;
    QPushButton* m_saveButton = nullptr;
};

} // namespace quorvex
