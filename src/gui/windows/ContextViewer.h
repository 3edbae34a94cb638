#pragma once
// The context viewer frmaff_contexte: one attestation of the session's list shown in its
// passage, Latin and French side by side, every occurrence of the form marked in the pane of
// the searched text (every form of a lemma's list, a phrase's words), with steps to the
// neighbouring attestations and passages.
// Reads: the session (the list's rows, its selection end, the two paths), and both text
//        files afresh at every display.
// Writes: the session's current cell (left on column 0 of the row taken) and the viewer's
//         state, which the session keeps for the run.
// The window keeps as data the form shown and the passage last written to each pane; the
// marks and the context printout are made from these, never read back from the widgets.

#include "passages/FormMarking.h"

#include <QMainWindow>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QGroupBox;
class QLabel;
class QPushButton;
class QTextEdit;

namespace quorvex {

class BusyGuard;
class WordTable;
struct Message;

class Session;
class WindowDirectory;
struct ViewerState;

class ContextViewer : public QMainWindow {
    Q_OBJECT
public:
    explicit ContextViewer(WindowDirectory& windows);

    // Takes the attestation at the list's selection end and shows it. false when there is no
    // such row or a text file could not be read (the user has been told).
    bool load();

    // Fills both panes with the passage of `reference`, records the neighbouring passages,
    // sets the buttons and marks the form. false when a text file could not be read: the
    // user has been told and nothing changed.
    bool showPassage(const std::string& reference);
    // Marks the form shown in the pane of the searched text (the French one for a list of
    // the French text).
    // marks: in the pane's positions, where each CR LF is one paragraph break.
    void markForm(const std::vector<MarkRange>& marks);
    // Shows the French passage again, with its equivalents marked when the session asks for
    // it ("Marquer les traductions"), without them otherwise.
    void markTranslations();
    // Takes the list row and shows it, as a step to it would (a tool window's double click).
    bool showAttestation(std::size_t row) { return takeRow(row); }

    void onNextAttestationClicked();  // next attestation
    void onPreviousAttestationClicked();  // previous attestation
    void onPreviousPassageClicked();  // previous passage
    void onNextPassageClicked();  // next passage
    void onPrintTriggered();
    void onCloseTriggered();
    void onAboutTriggered();

private:
    void buildControls();
    bool takeRow(std::size_t row);
    // Shows a message, with the normal pointer when a step had set the busy one.
    void tell(const Message& message);
    void stepPassage(const std::string& storedReference);
    void setForm(const std::string& form);
    // What the list's search found in `passage` (byte offsets): the form, every form of the
    // list, or a phrase's words, cut with the letters the list's text was cut with.
    // `after`: the text that follows the passage, where a phrase begun in it may end.
    std::vector<MarkRange> searchedMarks(const std::string& passage, std::string_view after = {}) const;
    // The word of the list's table under each mark of `passage` (byte offsets), or kNoWord
    // where the passage no longer stands in the text the list was made from.
    std::vector<std::size_t> markedWords(const std::string& passage, const std::vector<MarkRange>& marks) const;
    // The marked word's analysis under the pointer, as the tool tip of the searched pane.
    bool showAnalysisTip(QEvent* event);
    bool eventFilter(QObject* watched, QEvent* event) override;
    QTextEdit* searchedPane() const;

    WindowDirectory& m_windows;
    Session& m_session;
    ViewerState& m_viewer;

    // Windows-1252, as in the text files: the form of the attestation shown, and the passage
    // each pane holds (kept when a display finds none to write).
    std::string m_form;
    std::string m_latinPassage;
    std::string m_frenchPassage;
    // The form's marks in the searched pane, in the pane's positions, as last made, the word
    // of the list's table each one is (for its analysis), and whether that pane was the
    // French one: a choice may turn the list to the other side while the panes keep their
    // passages.
    std::vector<MarkRange> m_formMarks;
    static constexpr std::size_t kNoWord = static_cast<std::size_t>(-1);
    std::vector<std::size_t> m_markWords;
    std::weak_ptr<const WordTable> m_markTable;  // the table m_markWords index
    bool m_formMarksInFrench = false;

    BusyGuard* m_busy = nullptr;  // the step running now, if any
    QLabel* m_titleBack = nullptr;
    QLabel* m_titleFront = nullptr;
    QLabel* m_criterionCaption = nullptr;
    QLabel* m_formLabel = nullptr;
    QGroupBox* m_latinFrame = nullptr;
    QGroupBox* m_frenchFrame = nullptr;
    QGroupBox* m_attestationStepFrame = nullptr;
    QGroupBox* m_passageStepFrame = nullptr;
    QTextEdit* m_latinPane = nullptr;
    QTextEdit* m_frenchPane = nullptr;
    QPushButton* m_nextAttestation = nullptr;
    QPushButton* m_previousAttestation = nullptr;
    QPushButton* m_previousPassage = nullptr;
    QPushButton* m_nextPassage = nullptr;
    QAction* m_printAction = nullptr;
    QAction* m_closeAction = nullptr;
    QAction* m_aboutAction = nullptr;
};

} // namespace quorvex
