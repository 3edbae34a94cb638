#pragma once
// One user's work between the windows: the two text paths and the title named in the text
// window, the word table read from the Latin text when the search window loads, the
// attestation list with its order, the list's current cell, and what the context viewer
// shows. The windows write and read it here, never each other's widgets.
//
// The list is word indices into the word table: a row is an integer, and its form and
// reference are read from the table when a view, the viewer, a save or a print asks.
//
// The current cell matters beyond the grid: "Formes" sorts by the columns from 0 to the
// current column, so every command that moves it keeps its effect on the next sort:
//   a search that found rows       -> last row, column 1
//   a search that found none        -> header, column 0
//   the viewer taking a row         -> that row, column 0
//   a save or a print of the list   -> last row, column 1
//   a click or an arrow in the grid -> that cell

#include "concordance/ResultList.h"
#include "concordance/WordTable.h"
#include "output/PrintLayout.h"
#include "output/ResultFile.h"
#include "passages/FormMarking.h"
#include "session/SearchChoices.h"
#include "session/ViewerState.h"
#include "text/TextFile.h"
#include "translation/Equivalents.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

// What stopped a load or a search that ran short of memory; the session is as it was.
// FrenchTextUnreadable: the French lemma's filter needs the French text, which could not be
// read (frenchTextError() says why).
enum class SessionFailure { None, OutOfMemory, FrenchTextUnreadable };

class Session : public QObject {
    Q_OBJECT
public:
    static constexpr int kColumns = 2;

    explicit Session(QObject* parent = nullptr);

    // Named in the text window; the French path may be empty (no French text).
    QString latinPath() const { return m_latinPath; }
    QString frenchPath() const { return m_frenchPath; }
    QString title() const { return m_title; }
    void setLatinPath(const QString& path) { m_latinPath = path; }
    void setFrenchPath(const QString& path);
    void setTitle(const QString& title) { m_title = title; }

    // Reads and segments the Latin text, notes the load moment (the date of the search) and
    // empties the list. On failure nothing changes and the error says why (OutOfMemory when
    // the text or its word table does not fit).
    FileError loadLatinText();
    // The same with a text already in memory (Windows-1252).
    SessionFailure adoptLatinText(std::string text);
    QDateTime loadMoment() const { return m_loadMoment; }
    const WordTable& words() const { return m_words; }

    // Lists every word matching the typed form, in text order; `found` gets their number.
    SessionFailure search(const QString& typedForm, std::size_t& found);
    // "Formes": sorts the list by form, and by reference too when the current column is 1.
    SessionFailure sortByForm();

    // The reader's choices of the "Outils" menu, the tool windows' filters included.
    const SearchChoices& choices() const { return m_choices; }
    // Takes new choices and, when a search was made, searches the list's query again with
    // them (a failure keeps the previous choices and list). choicesChanged, then resultsReset.
    SessionFailure applyChoices(const SearchChoices& choices);
    // The query of the list shown, as typed; empty before the first search.
    QString listQuery() const { return m_listQuery; }
    // Whether a search was made since the load (the grid holds a list, not its empty row).
    bool searched() const { return !isEmptyRowList(m_results); }
    // The order of the list shown.
    ListOrder listOrder() const { return m_listOrder; }
    // Whether the Latin lexicon can be found, as quorvex-cli looks for it (once a run).
    bool lexiconFound() const;

    // The list as the grid shows it: row 0 the header, rows 1.. the attestations. Before
    // the first search the list holds one empty row.
    std::size_t rowCount() const { return 1 + m_results.size(); }
    const ResultList& results() const { return m_results; }
    // Row 0 gives the header; Windows-1252, as written in the text.
    std::string_view form(std::size_t row) const;
    std::string reference(std::size_t row) const;
    static std::string_view headerText(int column);
    static int columnWidthTwips(int) { return 1500; }

    // The list's outputs, the empty row of a list never searched included: the result file
    // (with the title, the paths and the load moment as the date) and the printout. A save
    // short of memory gives OutOfMemory naming the output, which is left as it was.
    FileError saveResultFile(const std::string& outputPath, const SaveControl& control) const;
    PrintOperations attestationListLayout() const;

    std::size_t currentRow() const { return m_currentRow; }
    int currentColumn() const { return m_currentColumn; }
    std::size_t selectionEndRow() const { return m_selectionEndRow; }
    int selectionEndColumn() const { return m_selectionEndColumn; }
    // Moves the current cell (and the selection end with it).
    void setCurrentCell(std::size_t row, int column);
    // Where reading every row for a save or a printout leaves the cell: last row, column 1.
    void leaveCurrentCellAfterReadingRows() { setCurrentCell(rowCount() - 1, 1); }

    // The French equivalents of the current list, computed when first asked for after a
    // search, not at every search: the French text is read then and the system's French
    // dictionary opened once for the run (without it each French word stands for itself).
    // Null when the list is empty or there is no French text; a read failure or a lack of
    // memory comes back in `error` and leaves nothing computed.
    const Equivalents* equivalents(FileError* error = nullptr);
    // The characters of a French passage (as the viewer shows it, one character a code-page
    // byte) that are words whose lemma is among the best equivalents; nothing before they
    // are computed. Words met before cost no stemming: a viewer step stays as cheap as today.
    std::vector<MarkRange> equivalentRanges(const QString& frenchPassage);
    // The French lemmas the equivalents are named by; null before the first equivalents.
    const FrenchLemmas* frenchLemmas() const { return m_frenchLemmas.get(); }

    // The query of the list, Windows-1252, as typed.
    const std::string& typedForm() const { return m_typedForm; }
    // Why the last search could not read the French text its filter needs.
    const FileError& frenchTextError() const { return m_frenchTextError; }

    // The viewer's memory, kept for the whole run even while its window is closed.
    ViewerState& viewer() { return m_viewer; }
    const ViewerState& viewer() const { return m_viewer; }

signals:
    // The rows were replaced or reordered (a search, a sort, new choices): views show the
    // list from its top, and the tool windows fill again.
    void resultsReset();
    // The choices changed (before the list follows them).
    void choicesChanged();
    // The French path named in the text window changed.
    void frenchPathChanged();
    // The current cell moved.
    void currentCellChanged();

private:
    SessionFailure adopt(std::string text, const QDateTime& moment);
    FileError saveResultFileOrThrow(const std::string& outputPath, const SaveControl& control) const;
    void forgetEquivalents() { m_equivalents.reset(); }
    // The French text of the path named, read at its first use after a load; false when it
    // cannot be read (m_frenchTextError says why). Throws std::bad_alloc.
    bool readFrenchText();
    // The French lemmas, the system's dictionary opened at the first use of the run.
    FrenchLemmas& frenchLemmaSource();

    QString m_latinPath;
    QString m_frenchPath;
    QString m_title;
    QDateTime m_loadMoment;
    WordTable m_words;
    ResultList m_results = emptyRowList();
    mutable std::string m_formScratch;  // the form of a row of several words
    std::size_t m_currentRow = 0;
    int m_currentColumn = 1;
    std::size_t m_selectionEndRow = 0;
    int m_selectionEndColumn = 1;
    ViewerState m_viewer;

    SearchChoices m_choices;
    QString m_listQuery;
    ListOrder m_listOrder = ListOrder::Text;
    mutable int m_lexiconFound = -1;  // -1: not looked for yet

    std::string m_typedForm;  // the list's query, Windows-1252
    bool m_dictionaryTried = false;
    std::unique_ptr<Stemmer> m_stemmer;
    std::unique_ptr<FrenchLemmas> m_frenchLemmas;  // kept across lists: words stemmed once a run
    std::optional<Equivalents> m_equivalents;
    // The French text, read once a load for the equivalents and the French lemma's filter.
    std::optional<std::string> m_frenchText;
    FileError m_frenchTextError;
};

} // namespace quorvex
