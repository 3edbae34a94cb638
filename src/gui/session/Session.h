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

#include "concordance/FormExclusion.h"
#include "concordance/NeighbourSort.h"
#include "concordance/ResultList.h"
#include "concordance/SearchRequest.h"
#include "concordance/SearchResult.h"
#include "concordance/SpellingFold.h"
#include "concordance/TextLemmata.h"
#include "translation/TextAlignment.h"
#include "concordance/LemmaMatch.h"
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
#include <new>
#include <stdexcept>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

// The kinds of "Exporter...", each the counterpart of quorvex-cli's --format or --kwic.
enum class ListExport { Tsv, Csv, Html, Kwic, Tmx };

// What stopped a load or a search; the session is as it was. Unreadable: a file the search
// needed (the lexicon, the French text) could not be read, or the choices do not go together
// (the command line's refusal); failureMessage() says why.
enum class SessionFailure { None, OutOfMemory, Unreadable };

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
    const WordTable& words() const { return *m_latinWords; }

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
    bool searched() const { return !isEmptyRowList(m_result.list()); }
    // The order of the list shown.
    ListOrder listOrder() const { return m_listOrder; }
    // "Tri par le mot de gauche / droite".
    SessionFailure sortByNeighbour(Neighbour side);
    // The forms a lemma list holds with the forms left out taken back, each with its count in
    // that list, in the order of their first attestation in the text: what the forms window
    // offers to leave out or take back. Empty unless the list shown is of a lemma. Throws
    // std::bad_alloc.
    std::vector<AttestedForm> formsOfTheLemma();
    // The French sentence of the last Unreadable failure.
    QString failureMessage() const { return m_failureMessage; }

    // The table the list indexes: the Latin text's, or the French text's under "Chercher dans
    // le texte français"; cut with the extended letters when the spelling is folded.
    const WordTable& searchedWords() const { return m_result.words(); }
    // The folding the list was searched with.
    Folding folding() const { return m_result.folding(); }
    // The list shown with the table it indexes and the request it answers: what every view
    // of the list reads (the tool windows' rows among them).
    const SearchResult& result() const { return m_result; }
    // The quorvex-cli command line that gives the list shown: the texts, the title, every
    // choice and the order (UTF-8, each argument quoted for a POSIX shell).
    QString commandLine() const;
    // How the lemma of a lemma search was understood, with the lines quorvex-cli writes about
    // it (UTF-8); Lemma outside lemma searches.
    LemmaMatchKind lemmaMatch() const { return m_result.lemmaMatch(); }
    QString lemmaLines() const { return m_lemmaLines; }
    // What the lexicon's reading could not read, as one French line; empty when it read whole
    // or was not read yet.
    QString lexiconWarning() const { return m_lexiconWarning; }
    // The lexicon and the lemmata of the Latin text's forms, once a lemma search read them.
    const lexicon::Lexicon* lexicon() const { return m_lexicon.get(); }
    // The tagger's counts read with the lexicon; null before, empty without tags.la.
    const lexicon::TagModel* tagModel() const { return m_tags.get(); }
    const TextLemmata* textLemmata() const { return m_result.textLemmata(); }

    // Reads the French text named now, the first time a French choice needs it after the
    // load; kept until the next load. Unreadable with failureMessage() when it cannot be.
    SessionFailure useFrenchText();
    bool frenchTextRead() const { return m_texts.hasFrench(); }
    // The French text read (Windows-1252), empty before.
    const std::string& frenchText() const { return m_texts.text(true); }

    // What the viewer marks for the list shown. With no choice: the row's form, in the Latin
    // pane. A list of the French text is marked in the French pane; a phrase's words where
    // they stand in a row; a lemma's or a folded form's list, every form the list holds.
    bool listOfFrenchText() const { return m_listFrenchSide; }
    bool listMarksEveryForm() const { return m_listEveryForm; }
    // The distinct forms of the list (Windows-1252), as written, one per lowered spelling.
    const std::vector<std::string>& listForms() const;

    // Whether the Latin lexicon can be found, as quorvex-cli looks for it (once a run).
    bool lexiconFound() const;

    // The list as the grid shows it: row 0 the header, rows 1.. the attestations. Before
    // the first search the list holds one empty row.
    std::size_t rowCount() const { return 1 + m_result.list().size(); }
    const ResultList& results() const { return m_result.list(); }
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
    // The list exported as quorvex-cli exports it with the same options: a lemma's list with
    // its lemmata column and, with a French text beside a Latin list, the equivalents column
    // (except for KWIC lines and TMX). Failures as the save's; the French text unreadable
    // gives its error.
    FileError exportList(const std::string& outputPath, ListExport kind, const SaveControl& control);
    // Whether that export of the current list has the equivalents column.
    bool exportHasRenderings(ListExport kind) const
    {
        return !m_frenchPath.isEmpty() && !m_listFrenchSide && kind != ListExport::Tmx && kind != ListExport::Kwic;
    }

    std::size_t currentRow() const { return m_currentRow; }
    int currentColumn() const { return m_currentColumn; }
    std::size_t selectionEndRow() const { return m_selectionEndRow; }
    int selectionEndColumn() const { return m_selectionEndColumn; }
    // Moves the current cell (and the selection end with it).
    void setCurrentCell(std::size_t row, int column);
    // Where reading every row for a save or a printout leaves the cell: last row, column 1.
    void leaveCurrentCellAfterReadingRows() { setCurrentCell(rowCount() - 1, 1); }

    // The French equivalents of the current list, computed when first asked for after a
    // search, not at every search: the French text is read then, the system's French
    // dictionary opened once for the run (without it each French word stands for itself), and
    // the word alignment of the pair learnt once for the searched table (the lemma search's
    // lemmata give it its Latin words, as --lemma does), kept for the next lists.
    // Null when the list is empty or there is no French text; a read failure or a lack of
    // memory comes back in `error` and leaves nothing computed. `progress` follows the
    // alignment's training and may stop it: the error is then Cancelled, nothing computed.
    const Equivalents* equivalents(FileError* error = nullptr, const AlignmentProgress& progress = {});
    // The characters of a French passage (as the viewer shows it, one character a code-page
    // byte) that are the words aligned to the list's row `row` (1 for the first attestation,
    // as the grid counts); nothing before the
    // equivalents are computed, or when the passage is not the one the texts gave.
    std::vector<MarkRange> equivalentRanges(std::size_t row, const QString& frenchPassage);
    // The French lemmas the equivalents are named by; null before the first equivalents.
    const FrenchLemmas* frenchLemmas() const { return m_frenchLemmas.get(); }

    // The query of the list, Windows-1252, as typed.
    const std::string& typedForm() const { return m_typedForm; }
    // Why the French text could not be read, after an Unreadable failure that was its.
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
    // Short of memory at any step of a write (the texts, the sizing, the writing) the output
    // is left as it was, the file being written removed as the exception leaves: OutOfMemory
    // naming the output.
    template <class Write>
    static FileError writtenOrOutOfMemory(const std::string& outputPath, Write&& write)
    {
        try {
            return write();
        } catch (const std::bad_alloc&) {
        } catch (const std::length_error&) {
        }
        FileError error;
        error.kind = FileErrorKind::OutOfMemory;
        error.path = outputPath;
        return error;
    }
    FileError saveResultFileOrThrow(const std::string& outputPath, const SaveControl& control) const;
    FileError exportListOrThrow(const std::string& outputPath, ListExport kind, const SaveControl& control);
    // The core's search of the request, with what it needs read first (the French text, the
    // lexicon, the French lemmas).
    SessionFailure searchFor(const SearchRequest& request, SearchResult& into);
    SessionFailure loadLexicon();
    // Whether the grid would find the room for that many rows.
    static bool viewHasRoomFor(std::size_t rows);
    void forgetEquivalents() { m_equivalents.reset(); }
    // The French lemmas, the system's dictionary opened at the first use of the run.
    FrenchLemmas& frenchLemmaSource();
    // The same, the French text read or not (the alignment reads it when it must).
    FrenchLemmas& unreadFrenchLemmas();

    QString m_latinPath;
    QString m_frenchPath;
    QString m_title;
    QDateTime m_loadMoment;
    // The texts and the tables cut from them; the Latin text's own table is cut at the load.
    SearchTexts m_texts;
    std::shared_ptr<const WordTable> m_latinWords = std::make_shared<const WordTable>();
    SearchResult m_result;
    mutable std::string m_formScratch;  // the form of a row of several words
    std::size_t m_currentRow = 0;
    int m_currentColumn = 1;
    std::size_t m_selectionEndRow = 0;
    int m_selectionEndColumn = 1;
    ViewerState m_viewer;

    SearchChoices m_choices;
    QString m_lemmaLines;
    QString m_failureMessage;
    std::unique_ptr<lexicon::Lexicon> m_lexicon;
    std::unique_ptr<lexicon::TagModel> m_tags;  // the tagger's counts, empty without tags.la
    QString m_lexiconWarning;
    bool m_listFrenchSide = false;  // the list is of the French text's words
    bool m_listEveryForm = false;   // a lemma's or a folded form's list
    bool m_listByLemma = false;     // a lemma search's list
    mutable std::vector<std::string> m_listForms;
    mutable bool m_listFormsKnown = false;
    QString m_listQuery;
    ListOrder m_listOrder = ListOrder::Text;
    mutable int m_lexiconFound = -1;  // -1: not looked for yet

    std::string m_typedForm;  // the list's query, Windows-1252
    bool m_dictionaryTried = false;
    std::unique_ptr<Stemmer> m_stemmer;
    std::unique_ptr<FrenchLemmas> m_frenchLemmas;  // kept across lists: words stemmed once a text
    bool m_frenchLemmasRead = false;               // they have read the French text
    std::optional<Equivalents> m_equivalents;
    // The alignment the equivalents read (the texts keep it for the next lists).
    std::shared_ptr<const TextAlignment> m_alignment;
    FileError m_frenchTextError;  // why the French text could not be read
};

} // namespace quorvex
