#include "session/Session.h"

#include "concordance/RequestOptions.h"
#include "system/CacheFolder.h"
#include "translation/CachingStemmer.h"

#include "lexicon/LexiconFolder.h"
#include "passages/ReferencePassages.h"
#include "platform/TextCodec.h"
#include "session/SearchDate.h"
#include "translation/FunctionWords.h"

#include <new>
#include <stdexcept>

namespace quorvex {

namespace {

// The grid keeps data of its own for every row it shows (its row header's sections), in
// allocations a lack of memory would crash in, out of our reach. So the room for them is
// asked first, and a search or a sort that would not leave it is refused whole.
constexpr std::size_t kViewBytesPerRow = 24;
char* volatile g_roomProbe = nullptr;  // keeps the compiler from leaving the probe out

} // namespace

bool Session::viewHasRoomFor(std::size_t rows)
{
    try {
        g_roomProbe = new char[rows * kViewBytesPerRow + 1];
    } catch (const std::bad_alloc&) {
        return false;
    }
    delete[] g_roomProbe;
    g_roomProbe = nullptr;
    return true;
}

namespace {

QDateTime nowToTheSecond()
{
    // The date of the search holds whole seconds.
    const QDateTime now = QDateTime::currentDateTime();
    return QDateTime(now.date(),
                     QTime(now.time().hour(), now.time().minute(), now.time().second()));
}

} // namespace

Session::Session(QObject* parent) : QObject(parent) {}

void Session::setFrenchPath(const QString& path)
{
    if (path == m_frenchPath)
        return;
    m_frenchPath = path;
    emit frenchPathChanged();
}

bool Session::lexiconFound() const
{
    if (m_lexiconFound < 0)
    {
        // A folder named that lacks the lexicon's files is no lexicon: its items are greyed.
        const std::optional<std::string> folder = lexicon::findLexiconFolder();
        m_lexiconFound = folder && lexicon::holdsLexicon(*folder) ? 1 : 0;
    }
    return m_lexiconFound == 1;
}

SessionFailure Session::applyChoices(const SearchChoices& choices)
{
    const SearchChoices before = m_choices;
    m_choices = choices;
    emit choicesChanged();
    if (isEmptyRowList(m_result.list()))
        return SessionFailure::None;
    std::size_t found = 0;
    const SessionFailure failure = search(m_listQuery, found);
    if (failure != SessionFailure::None) {
        m_choices = before;
        emit choicesChanged();
    }
    return failure;
}

FileError Session::loadLatinText()
{
    // The date of the search is when the load began.
    const QDateTime moment = nowToTheSecond();
    TextReadResult latin = readText(toPath(m_latinPath));
    if (latin.error)
        return latin.error;
    if (adopt(std::move(latin.text), moment) == SessionFailure::None)
        return {};
    FileError error;
    error.kind = FileErrorKind::OutOfMemory;
    error.path = toPath(m_latinPath);
    return error;
}

SessionFailure Session::adoptLatinText(std::string text) { return adopt(std::move(text), nowToTheSecond()); }

SessionFailure Session::adopt(std::string text, const QDateTime& moment)
{
    try {
        // The old texts go before the new one is cut.
        m_result = SearchResult();
        m_texts = SearchTexts();
        // The word alignment of the pair is learnt once per pair of texts, not once per run.
        m_texts.keepAlignmentsIn(std::make_shared<const CacheFolder>(defaultCacheFolder()));
        m_latinWords = std::make_shared<const WordTable>();
        m_texts.setLatin(WordTable::segment(std::move(text)));
        m_latinWords = m_texts.tableIfCut(false, Folding::Case);
    } catch (const std::bad_alloc&) {
        return SessionFailure::OutOfMemory;
    } catch (const std::length_error&) {
        return SessionFailure::OutOfMemory;
    }
    m_loadMoment = moment;
    m_lemmaLines.clear();
    // Lemmas chosen over the old French text and the old pair's alignment go with it.
    m_frenchLemmas.reset();
    m_frenchLemmasRead = false;
    m_alignment.reset();
    m_listFrenchSide = m_listEveryForm = m_listFormsKnown = m_listByLemma = false;
    m_listQuery.clear();
    m_listOrder = ListOrder::Text;
    forgetEquivalents();
    m_result = SearchResult(m_latinWords);
    // The grid's header written last leaves the cell on the header of column 1.
    m_currentRow = m_selectionEndRow = 0;
    m_currentColumn = m_selectionEndColumn = 1;
    emit resultsReset();
    return SessionFailure::None;
}

SessionFailure Session::search(const QString& typedForm, std::size_t& found)
{
    // Forms left out belong to one lemma: another lemma brings them all back, once its list
    // stands; a search refused or failed leaves the list and the forms it left out together.
    SearchChoices choices = m_choices;
    const bool formsBack = choices.asked.lemma && !choices.asked.excludedForms.empty() && typedForm != m_listQuery;
    if (formsBack)
        choices.asked.excludedForms.clear();
    const SearchRequest request = choices.request(typedForm);
    // The menu offers no choice the command line refuses; kept choices may still clash.
    if (const std::string refusal = requestRefusal(request, !m_frenchPath.isEmpty()); !refusal.empty()) {
        m_failureMessage = QString::fromStdString(refusal);
        return SessionFailure::Unreadable;
    }
    SearchResult result;
    if (const SessionFailure failure = searchFor(request, result); failure != SessionFailure::None)
        return failure;
    if (!viewHasRoomFor(result.list().size()))
        return SessionFailure::OutOfMemory;
    if (formsBack) {
        m_choices.asked.excludedForms.clear();
        emit choicesChanged();
    }
    // The old list's memory goes back before the new one is kept.
    forgetEquivalents();
    m_result = SearchResult(m_latinWords);
    m_result = std::move(result);
    m_lemmaLines = QString::fromStdString(m_result.lemmaLines()).trimmed();
    m_listFrenchSide = m_choices.asked.frenchSide;
    m_listEveryForm = m_choices.any() && m_choices.folds() && !m_choices.asked.phrase;
    m_listByLemma = m_choices.any() && m_choices.asked.lemma;
    m_listFormsKnown = false;
    m_typedForm = toCp1252(typedForm);
    m_listQuery = typedForm;
    m_listOrder = ListOrder::Text;
    found = m_result.list().size();
    if (found == 0) {
        m_currentRow = m_selectionEndRow = 0;
        m_currentColumn = m_selectionEndColumn = 0;
    } else {
        m_currentRow = m_selectionEndRow = found;
        m_currentColumn = m_selectionEndColumn = 1;
    }
    emit resultsReset();
    return SessionFailure::None;
}

SessionFailure Session::sortByForm()
{
    // The sort leaves the rows as they are when the grid could not show them again.
    if (!viewHasRoomFor(m_result.list().size()))
        return SessionFailure::OutOfMemory;
    // The keys run from column 0 to the current column.
    m_selectionEndColumn = 0;
    try {
        m_result.sortByForm(m_currentColumn == 0 ? SortKeys::Form : SortKeys::FormThenReference);
    } catch (const std::bad_alloc&) {
        emit resultsReset();
        return SessionFailure::OutOfMemory;
    } catch (const std::length_error&) {
        emit resultsReset();
        return SessionFailure::OutOfMemory;
    }
    m_listOrder = ListOrder::Forms;
    emit resultsReset();
    return SessionFailure::None;
}

namespace {

// One argument for a POSIX shell: as it is when it cannot be misread, else in single quotes.
QString shellWord(const QString& arg)
{
    static const QString plain = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_./=:,+@%");
    bool quoted = arg.isEmpty();
    for (const QChar c : arg)
        if (!plain.contains(c))
            quoted = true;
    if (!quoted)
        return arg;
    QString word = arg;
    word.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + word + QLatin1Char('\'');
}

} // namespace

QString Session::commandLine() const
{
    SearchRequest request = m_result.request();
    switch (m_listOrder) {
    case ListOrder::Text: request.sort = SortOrder::Text; break;
    case ListOrder::Forms: request.sort = SortOrder::Forms; break;
    case ListOrder::LeftWord: request.sort = SortOrder::Left; break;
    case ListOrder::RightWord: request.sort = SortOrder::Right; break;
    }
    QStringList words = {QStringLiteral("quorvex-cli"), QStringLiteral("--latin"), m_latinPath};
    if (!m_frenchPath.isEmpty())
        words << QStringLiteral("--french") << m_frenchPath;
    if (!m_title.isEmpty())
        words << QStringLiteral("--title") << m_title;
    words << QStringLiteral("--list");
    for (const std::string& arg : requestArguments(request))
        words << QString::fromStdString(arg);
    QStringList quoted;
    for (const QString& word : words)
        quoted << shellWord(word);
    return quoted.join(QLatin1Char(' '));
}

std::string_view Session::headerText(int column)
{
    return column == 0 ? kFormsHeader : kReferencesHeader;
}

std::string_view Session::form(std::size_t row) const
{
    if (row == 0)
        return headerText(0);
    if (row > m_result.list().size())
        return {};
    return attestationForm(searchedWords(), m_result.list()[row - 1], m_formScratch);
}

std::string Session::reference(std::size_t row) const
{
    if (row == 0)
        return std::string(headerText(1));
    std::string text;
    if (row <= m_result.list().size())
        appendAttestationReference(searchedWords(), m_result.list()[row - 1], text);
    return text;
}

// Before any search the list holds its one empty row: the outputs write it as they write any.
FileError Session::saveResultFile(const std::string& outputPath, const SaveControl& control) const
{
    return writtenOrOutOfMemory(outputPath, [&] { return saveResultFileOrThrow(outputPath, control); });
}

FileError Session::saveResultFileOrThrow(const std::string& outputPath, const SaveControl& control) const
{
    const std::string title = toCp1252(m_title);
    const std::string date = toCp1252(searchDateText(m_loadMoment));
    // A search of the French text gives its passages first, as quorvex-cli writes them.
    const std::string searched = toPath(m_listFrenchSide ? m_frenchPath : m_latinPath);
    const std::string other = toPath(m_listFrenchSide ? m_latinPath : m_frenchPath);
    return quorvex::saveResultFile(outputPath, searchedWords(), m_result.list(), title, date, searched, other,
                                   control);
}

PrintOperations Session::attestationListLayout() const
{
    return quorvex::attestationListLayout(searchedWords(), m_result.list());
}

const Equivalents* Session::equivalents(FileError* error, const AlignmentProgress& progress)
{
    if (m_equivalents)
        return &*m_equivalents;
    // A list of the French text has no rendering: the command line refuses it too.
    if (!holdsAttestations(m_result.list()) || m_frenchPath.isEmpty() || m_listFrenchSide)
        return nullptr;
    try {
        if (useFrenchText() != SessionFailure::None) {
            if (error)
                *error = m_frenchTextError;
            return nullptr;
        }
        // The alignment reads the French text's lemmas itself, unless its image is kept.
        FrenchLemmas& lemmas = unreadFrenchLemmas();
        m_alignment = m_texts.alignment(m_result, lemmas, progress);
        m_equivalents = findEquivalents(searchedWords(), m_result.list(), frenchText(), lemmas,
                                        isLatinFunctionLemma(m_typedForm, m_listByLemma ? m_lexicon.get() : nullptr),
                                        m_alignment.get());
    } catch (const std::bad_alloc&) {
        m_equivalents.reset();
        if (error) {
            error->kind = FileErrorKind::OutOfMemory;
            error->path = toPath(m_frenchPath);
        }
        return nullptr;
    } catch (const AlignmentStopped&) {
        m_equivalents.reset();
        if (error) {
            error->kind = FileErrorKind::Cancelled;
            error->path = toPath(m_frenchPath);
        }
        return nullptr;
    }
    return &*m_equivalents;
}

std::vector<MarkRange> Session::equivalentRanges(std::size_t row, const QString& frenchPassage)
{
    const ResultList& list = m_result.list();
    if (!m_equivalents || !m_alignment || row == 0 || row > list.size() || list[row - 1].words == 0)
        return {};
    const Attestation hit = list[row - 1];
    const WordTable& table = searchedWords();
    const WordTable::ReferenceId id = table.referenceId(hit.first);
    const ReferencePassages french(frenchText(), table, {id});
    return renderingMarks(m_alignment->renderingOf(hit), french, id, frenchText(), toCp1252(frenchPassage));
}

FrenchLemmas& Session::unreadFrenchLemmas()
{
    if (!m_dictionaryTried) {
        m_dictionaryTried = true;
        // The French text is read by then: its words' stems are kept in the cache folder.
        m_stemmer = openFrenchStemmer(std::string(kDefaultFrenchDictionary), toPath(m_frenchPath), frenchText(),
                                      CacheFolder(defaultCacheFolder()), m_texts.textHash(true))
                        .stemmer;
    }
    if (!m_frenchLemmas)
        m_frenchLemmas = std::make_unique<FrenchLemmas>(m_stemmer.get());
    return *m_frenchLemmas;
}

FrenchLemmas& Session::frenchLemmaSource()
{
    unreadFrenchLemmas();
    // Each French word stands for one lemma, chosen over the whole text, once it is read.
    if (!m_frenchLemmasRead && m_texts.hasFrench()) {
        if (m_frenchLemmas->distinctWords() > 0 && !m_frenchLemmas->textRead()) {
            // Words stemmed without the text may name lemmas it would not choose: what was
            // named by the old lemmas' ids goes with them. Lemmas taken from an alignment's
            // image keep their ids when the text is read.
            m_equivalents.reset();
            m_alignment.reset();
            m_texts.forgetAlignment();
            m_frenchLemmas = std::make_unique<FrenchLemmas>(m_stemmer.get());
        }
        if (!m_frenchLemmas->textRead())
            m_frenchLemmas->readText(*m_texts.table(true, Folding::Case));
        m_frenchLemmasRead = true;
        if (m_stemmer)
            m_stemmer->keep();  // every word of the French text has been stemmed by now
    }
    return *m_frenchLemmas;
}

void Session::setCurrentCell(std::size_t row, int column)
{
    m_currentRow = m_selectionEndRow = std::min(row, rowCount() - 1);
    m_currentColumn = m_selectionEndColumn = column;
    emit currentCellChanged();
}

} // namespace quorvex
