#pragma once
// "Dispersion" (frmDispersion): where the list's attestations stand in the text, the picture
// quorvex-cli --plot draws, shown as it is and saved as SVG through the file dialog.

#include "tools/ToolWindow.h"

#include <string>

class QPushButton;
class QScrollArea;
class QSvgWidget;

namespace quorvex {

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
    QPushButton* m_saveButton = nullptr;
};

} // namespace quorvex
