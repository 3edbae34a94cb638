#include "windows/ContextViewer.h"

#include "text/TextFile.h"
#include "printing/PrintCommands.h"
#include "platform/BusyPointer.h"
#include "platform/FileMessages.h"
#include "session/Session.h"
#include "platform/MessageBoxes.h"
#include "platform/TextCodec.h"
#include "look/WindowLook.h"
#include "look/Twips.h"
#include "windows/WindowDirectory.h"
#include "windows/AboutBox.h"
#include "windows/tools/ToolWindow.h"
#include "output/PrintLayout.h"
#include "passages/FormMarking.h"
#include "passages/ReferenceScan.h"
#include "session/ViewerState.h"

#include <QAction>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolTip>

#include <algorithm>
#include <new>
#include <stdexcept>
#include <vector>

// Resources of a static library must be registered by name from outside any namespace.
static void initViewerResources() { Q_INIT_RESOURCE(viewer); }

namespace quorvex {

namespace {

const QColor kPassageCaption(0, 0, 192);  // the passage frames
const QColor kFormRed(192, 0, 0);        // the form and the step frames
const QColor kMarkBlue(0, 0, 255);

std::string withoutTrailingSpaces(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// A display short of memory: the viewer keeps the attestation it showed.
Message memoryShortMessage()
{
    Message message;
    message.text = QStringLiteral("Mémoire insuffisante pour afficher le passage : l'affichage précédent est conservé.");
    message.icon = MessageIcon::Warning;
    return message;
}

} // namespace

ContextViewer::ContextViewer(WindowDirectory& windows)
    : m_windows(windows), m_session(windows.session()), m_viewer(windows.session().viewer())
{
    initViewerResources();
    setObjectName(QStringLiteral("frmaff_contexte"));
    setWindowTitle(applicationTitle());
    setWindowIcon(QIcon(QStringLiteral(":/viewer/contexte.svg")));
    buildControls();
}

void ContextViewer::buildControls()
{
    auto colour = [](QWidget* w, QPalette::ColorRole role, const QColor& c) {
        QPalette pal = w->palette();
        pal.setColor(role, c);
        w->setPalette(pal);
    };

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("central"));
    central->setFixedSize(twipsSize(9975, 7020));
    paintWindowBackground(central);
    setCentralWidget(central);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    addTitleBand(central, twipsRect(480, 120, 9015, 615));
    m_titleBack = central->findChild<QLabel*>(QStringLiteral("Label1"));
    m_titleFront = central->findChild<QLabel*>(QStringLiteral("Label2"));

    auto makeLabel = [&](const char* name, const QString& caption, const QRect& rect) {
        QLabel* label = addLabel(central, name, caption, rect, timesNewRoman(12, true),
                                 palette().color(QPalette::WindowText));
        label->setTextFormat(Qt::PlainText);
        paintWindowBackground(label);
        return label;
    };
    m_criterionCaption = makeLabel("Label5", QStringLiteral("Critère de recherche :"),
                       twipsRect(360, 840, 2295, 375));
    m_formLabel = makeLabel("Label6", QString(), twipsRect(2760, 840, 2295, 375));
    colour(m_formLabel, QPalette::WindowText, kFormRed);

    auto makeFrame = [&](const char* name, const QString& caption, const QRect& rect,
                         const QColor& captionColour) {
        QGroupBox* frame = addFrame(central, QLatin1String(name), caption, rect, 9.75);
        colour(frame, QPalette::WindowText, captionColour);
        return frame;
    };
    auto makePane = [&](QGroupBox* frame, const char* name, const QRect& rect) {
        auto* pane = new QTextEdit(frame);
        pane->setObjectName(QLatin1String(name));
        pane->setGeometry(rect);
        pane->setReadOnly(true);
        pane->setAcceptRichText(false);
        pane->setUndoRedoEnabled(false);
        pane->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        pane->setFocusPolicy(Qt::StrongFocus);
        pane->setLineWrapMode(QTextEdit::WidgetWidth);
        pane->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        pane->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        pane->setFont(timesNewRoman(9.75));
        colour(pane, QPalette::Text, Qt::black);
        colour(pane, QPalette::Base, Qt::white);
        return pane;
    };

    // The buttons belong to the window itself, not to the frames.
    const QIcon backward(QStringLiteral(":/viewer/backward.svg"));
    const QIcon forward(QStringLiteral(":/viewer/forward.svg"));
    auto makeButton = [&](const char* name, const QIcon& picture, const QString& tip,
                          const QRect& rect) {
        auto* button = new QPushButton(central);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(rect);
        button->setIcon(picture);
        button->setIconSize(twipsSize(104 * 15, 38 * 15));  // 104 x 38 pixels at 96 dpi
        button->setToolTip(tip);
        colour(button, QPalette::Button, Qt::white);
        return button;
    };
    m_nextAttestation = makeButton("Command1", forward, QStringLiteral("Attestation suivant"),
                          twipsRect(7800, 6120, 1695, 735));
    m_previousAttestation = makeButton("Command2", backward, QStringLiteral("Attestation précédent"),
                          twipsRect(6000, 6120, 1695, 735));
    m_previousPassage = makeButton("Command3", backward, QStringLiteral("Texte précédent"),
                          twipsRect(480, 6120, 1695, 735));
    m_nextPassage = makeButton("Command4", forward, QStringLiteral("Texte suivant"),
                          twipsRect(2280, 6120, 1695, 735));

    m_latinFrame = makeFrame("Frame1", QStringLiteral("Texte Latin :"),
                       twipsRect(360, 1200, 9255, 2295), kPassageCaption);
    m_latinPane = makePane(m_latinFrame, "label3", twipsRect(120, 240, 9015, 1935));
    m_frenchFrame = makeFrame("Frame2", QStringLiteral("Texte Français :"),
                       twipsRect(360, 3600, 9255, 2175), kPassageCaption);
    m_frenchPane = makePane(m_frenchFrame, "label4", twipsRect(120, 240, 9015, 1815));
    // A marked word's tool tip is its analysis in its sentence.
    m_latinPane->viewport()->installEventFilter(this);
    m_frenchPane->viewport()->installEventFilter(this);
    m_passageStepFrame = makeFrame("Frame4", QStringLiteral("Texte :"), twipsRect(360, 5880, 3735, 1095),
                       kFormRed);
    m_attestationStepFrame = makeFrame("Frame3", QStringLiteral("Contexte :"), twipsRect(5880, 5880, 3735, 1095),
                       kFormRed);
    // The buttons lie over the frames' areas; made first, they come first in the tab order.
    for (QPushButton* button : {m_nextAttestation, m_previousAttestation, m_previousPassage, m_nextPassage})
        button->raise();
    connect(m_nextAttestation, &QPushButton::clicked, this, &ContextViewer::onNextAttestationClicked);
    connect(m_previousAttestation, &QPushButton::clicked, this, &ContextViewer::onPreviousAttestationClicked);
    connect(m_previousPassage, &QPushButton::clicked, this, &ContextViewer::onPreviousPassageClicked);
    connect(m_nextPassage, &QPushButton::clicked, this, &ContextViewer::onNextPassageClicked);

    QMenu* fichier = addMenu(menuBar(), QStringLiteral("&Fichier"), "fichier");
    m_printAction = addMenuItem(fichier, QStringLiteral("&Imprimer le contexte"), "imprimer");
    m_closeAction = addMenuItem(fichier, QStringLiteral("&Fermer"), "fermer");
    QMenu* aide = addMenu(menuBar(), QStringLiteral("&Aide"), "aide");
    m_aboutAction = addMenuItem(aide, QStringLiteral("&A propos de"), "about");
    connect(m_printAction, &QAction::triggered, this, &ContextViewer::onPrintTriggered);
    connect(m_closeAction, &QAction::triggered, this, &ContextViewer::onCloseTriggered);
    connect(m_aboutAction, &QAction::triggered, this, &ContextViewer::onAboutTriggered);
    connect(&m_session, &Session::choicesChanged, this, &ContextViewer::markTranslations);
}

bool ContextViewer::load() { return takeRow(m_session.selectionEndRow()); }

// Takes the attestation of a list row and shows it. When its passage cannot be shown the
// step is undone: row, form and the list's current cell stay as they were.
bool ContextViewer::takeRow(std::size_t row)
{
    if (row >= m_session.rowCount())
        return false;
    const std::size_t rowBefore = m_viewer.row;
    const std::string referenceBefore = m_viewer.attestationReference;
    const std::string formBefore = m_form;
    const std::size_t currentRowBefore = m_session.currentRow();
    const int currentColumnBefore = m_session.currentColumn();

    m_viewer.row = row;
    // Reading the row leaves the list's current cell on its form, column 0.
    m_session.setCurrentCell(row, 0);
    m_viewer.attestationReference = withoutTrailingSpaces(m_session.reference(row));
    setForm(std::string(m_session.form(row)));

    const std::string reference = m_viewer.attestationReference;
    if (showPassage(reference))
        return true;

    m_viewer.row = rowBefore;
    m_viewer.attestationReference = referenceBefore;
    setForm(formBefore);
    if (currentRowBefore < m_session.rowCount())
        m_session.setCurrentCell(currentRowBefore, currentColumnBefore);
    return false;
}

bool ContextViewer::showPassage(const std::string& reference)
{
    const std::string latinPath = toPath(m_session.latinPath());
    const std::string frenchPath = toPath(m_session.frenchPath());

    // Both texts are read before anything changes, so a file gone since the last display
    // leaves both panes as they were rather than half updated.
    TextReadResult latin = readText(latinPath);
    TextReadResult french;
    if (!latin.error && !frenchPath.empty())
        french = readText(frenchPath);
    const FileError& error = latin.error ? latin.error : french.error;
    if (error) {
        Message message = fileErrorMessage(error);
        message.text += QStringLiteral("\nLe passage ne peut pas être affiché.");
        tell(message);
        return false;
    }

    // All the display needs is made before anything changes: short of memory, the viewer
    // stays as it was.
    ReferenceScanResult latinScan;
    ReferenceScanResult frenchScan;
    std::vector<MarkRange> marks;
    std::vector<std::size_t> markWords;
    const bool frenchList = m_session.listOfFrenchText();
    try {
        latinScan = scanReference(latin.text, reference, Neighbours::Record);
        if (!frenchPath.empty())
            frenchScan = scanReference(french.text, reference, Neighbours::Ignore);
        const std::string& shown = frenchList ? (frenchScan.pane ? *frenchScan.pane : m_frenchPassage)
                                              : (latinScan.pane ? *latinScan.pane : m_latinPassage);
        // A phrase may run on past the passage's marker: what follows it in the text.
        std::string_view after;
        if (m_form.find(' ') != std::string::npos) {
            const std::string_view source = frenchList ? french.text : latin.text;
            const std::size_t at = source.find(shown);
            if (at != std::string_view::npos)
                after = source.substr(at + shown.size());
        }
        const std::vector<MarkRange> byteMarks = searchedMarks(shown, after);
        markWords = markedWords(shown, byteMarks);
        marks = panePositions(shown, byteMarks);
    } catch (const std::bad_alloc&) {
        tell(memoryShortMessage());
        return false;
    } catch (const std::length_error&) {
        tell(memoryShortMessage());
        return false;
    }
    if (latinScan.pane) {
        m_latinPassage = std::move(*latinScan.pane);
        m_latinPane->setPlainText(fromCp1252(m_latinPassage));
    }
    if (frenchScan.pane) {
        m_frenchPassage = std::move(*frenchScan.pane);
        m_frenchPane->setPlainText(fromCp1252(m_frenchPassage));
    }
    m_formMarks = marks;
    m_markWords = std::move(markWords);
    m_markTable = m_session.result().sharedWords();
    m_formMarksInFrench = frenchList;
    if (m_session.choices().markTranslations)
        markTranslations();
    if (latinScan.previous)
        m_viewer.previousReference = *latinScan.previous;
    if (latinScan.next)
        m_viewer.nextReference = *latinScan.next;

    // A passage step offers only a passage met by this display: at either end of the text,
    // or when the passage was not found, the stored reference would show an unrelated one.
    m_previousPassage->setEnabled(latinScan.pane && latinScan.previous);
    m_nextPassage->setEnabled(latinScan.pane && latinScan.next);

    const std::size_t lastRow = m_session.rowCount() - 1;
    m_nextAttestation->setEnabled(m_viewer.row != lastRow);
    m_previousAttestation->setEnabled(m_viewer.row != 1);

    markForm(marks);
    return true;
}

std::vector<std::size_t> ContextViewer::markedWords(const std::string& passage,
                                                   const std::vector<MarkRange>& marks) const
{
    std::vector<std::size_t> words(marks.size(), kNoWord);
    // Only a lemma search read with the tagger knows each word's analysis.
    if (!m_session.result().tagging() || m_session.listOfFrenchText() || marks.empty())
        return words;
    const WordTable& table = m_session.searchedWords();
    const std::string_view text = table.text();
    // Where the passage stands in the text the list indexes: around the row's own word when
    // it holds it (a passage step shows others), else its first place.
    std::size_t start = std::string_view::npos;
    if (m_viewer.row >= 1 && m_viewer.row <= m_session.results().size()) {
        const std::size_t own = table.formOffset(m_session.results()[m_viewer.row - 1].first);
        const std::size_t at = text.find(passage, own > passage.size() ? own - passage.size() : 0);
        if (at != std::string_view::npos && at <= own)
            start = at;
    }
    if (start == std::string_view::npos)
        start = text.find(passage);
    if (start == std::string_view::npos)
        return words;
    for (std::size_t m = 0; m < marks.size(); ++m) {
        const std::size_t offset = start + marks[m].start;
        std::size_t lo = 0, hi = table.size();
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            if (table.formOffset(mid) < offset)
                lo = mid + 1;
            else
                hi = mid;
        }
        if (lo < table.size() && table.formOffset(lo) == offset && table.form(lo).size() == marks[m].length)
            words[m] = lo;
    }
    return words;
}

bool ContextViewer::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip && watched == searchedPane()->viewport())
        return showAnalysisTip(event);
    return QMainWindow::eventFilter(watched, event);
}

bool ContextViewer::showAnalysisTip(QEvent* event)
{
    auto* help = static_cast<QHelpEvent*>(event);
    QTextEdit* pane = searchedPane();
    // A list searched since the display indexes another table: its words are not these.
    if (m_markTable.lock() != m_session.result().sharedWords())
        m_markWords.assign(m_markWords.size(), kNoWord);
    const int position = pane->cursorForPosition(help->pos()).position();
    for (std::size_t m = 0; m < m_formMarks.size() && m < m_markWords.size(); ++m) {
        const MarkRange& mark = m_formMarks[m];
        if (m_markWords[m] == kNoWord || position < static_cast<int>(mark.start)
            || position > static_cast<int>(mark.start + mark.length))
            continue;
        const std::string analysis = m_session.result().analysisColumn(m_markWords[m]);
        if (analysis.empty())
            break;
        QToolTip::showText(help->globalPos(), QString::fromStdString(analysis), pane->viewport());
        return true;
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

void ContextViewer::setForm(const std::string& form)
{
    m_form = form;
    m_formLabel->setText(fromCp1252(form));
}

std::vector<MarkRange> ContextViewer::searchedMarks(const std::string& passage, std::string_view after) const
{
    // A folded search cut its text with the extended letters: "cœlum" is one word there.
    const LetterSet letters = m_session.searchedWords().letterSet();
    if (!m_session.listMarksEveryForm()) {
        // One word cut as the window cuts: the row's form, case ignored, as it always was.
        if (letters == LetterSet::Window && m_form.find(' ') == std::string::npos)
            return formMarks(passage, m_form);
        return phraseMarks(passage, m_form, letters, after);
    }
    std::vector<MarkRange> marks;
    for (const std::string& form : m_session.listForms()) {
        const std::vector<MarkRange> more = phraseMarks(passage, form, letters, after);
        marks.insert(marks.end(), more.begin(), more.end());
    }
    // panePositions wants them in text order; forms differ after lowering, so never overlap.
    std::sort(marks.begin(), marks.end(),
              [](const MarkRange& a, const MarkRange& b) { return a.start < b.start; });
    return marks;
}

QTextEdit* ContextViewer::searchedPane() const
{
    return m_session.listOfFrenchText() ? m_frenchPane : m_latinPane;
}

namespace {

// Bold in `colour` over each range, in one edit: the pane is laid out once, not once a mark.
void paintMarks(QTextDocument* document, const std::vector<MarkRange>& marks, const QColor& colour)
{
    QTextCharFormat marked;
    marked.setFontWeight(QFont::Bold);
    marked.setForeground(colour);
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    for (const MarkRange& mark : marks) {
        cursor.setPosition(static_cast<int>(mark.start));
        cursor.setPosition(static_cast<int>(mark.start + mark.length), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(marked);
    }
    cursor.endEditBlock();
}

} // namespace

void ContextViewer::markForm(const std::vector<MarkRange>& marks)
{
    QTextEdit* pane = searchedPane();
    paintMarks(pane->document(), marks, kMarkBlue);

    QTextCursor caret = pane->textCursor();
    if (marks.empty())
        caret.clearSelection();
    else
        caret.setPosition(static_cast<int>(marks.back().start));
    pane->setTextCursor(caret);
}

void ContextViewer::markTranslations()
{
    if (m_session.frenchPath().isEmpty())
        return;
    // Unmarked, the pane is the passage as plain text, exactly as a display writes it.
    m_frenchPane->setPlainText(fromCp1252(m_frenchPassage));
    // A list of the French text has its form marked there: written again over the plain text,
    // when they were made in that pane (not when the list has just turned to the French side).
    if (m_session.listOfFrenchText() && m_formMarksInFrench)
        markForm(m_formMarks);
    if (!m_session.choices().markTranslations || m_frenchPassage.empty())
        return;
    // The equivalents of the list, computed at the first marking after a search, the
    // alignment's training with its progress and cancel. A French text that cannot be read,
    // too little memory for them or a cancel leaves the pane unmarked, as a failed marking of
    // the form leaves its pane.
    if (!equivalentsFollowed(m_session, m_windows.platform().progress, this, nullptr))
        return;
    std::vector<MarkRange> marks;
    std::vector<std::size_t> markWords;
    try {
        marks = panePositions(m_frenchPassage, m_session.equivalentRanges(m_viewer.row, fromCp1252(m_frenchPassage)));
    } catch (const std::bad_alloc&) {
        return;
    }
    paintMarks(m_frenchPane->document(), marks, look::translationMark);
    // In a passage longer than the pane (a chapter under one marker) the rendering is brought
    // into sight, as the searched pane brings its form.
    if (!marks.empty() && !m_session.listOfFrenchText()) {
        QTextCursor caret(m_frenchPane->document());
        caret.setPosition(static_cast<int>(marks.front().start));
        m_frenchPane->setTextCursor(caret);
    }
}

void ContextViewer::tell(const Message& message)
{
    // The normal pointer is back before any message.
    if (m_busy)
        m_busy->release();
    m_windows.platform().messages.show(this, message);
}

void ContextViewer::onNextAttestationClicked()
{
    BusyGuard busy(m_windows.platform().busy, this);
    const QScopedValueRollback<BusyGuard*> messagesAfterPointer(m_busy, &busy);
    const std::size_t next = m_viewer.row + 1;
    if (next < m_session.rowCount())
        takeRow(next);
}

void ContextViewer::onPreviousAttestationClicked()
{
    BusyGuard busy(m_windows.platform().busy, this);
    const QScopedValueRollback<BusyGuard*> messagesAfterPointer(m_busy, &busy);
    if (m_viewer.row < 2)
        return;
    std::size_t previous = m_viewer.row - 1;
    if (previous >= m_session.rowCount()) {
        // The list shrank while the viewer stayed open: go to its last attestation.
        if (m_session.rowCount() < 2)
            return;
        previous = m_session.rowCount() - 1;
    }
    takeRow(previous);
}

void ContextViewer::stepPassage(const std::string& storedReference)
{
    BusyGuard busy(m_windows.platform().busy, this);
    const QScopedValueRollback<BusyGuard*> messagesAfterPointer(m_busy, &busy);
    // The display rewrites the stored references while it scans: it gets a copy.
    const std::string reference = storedReference;
    showPassage(reference);
}

void ContextViewer::onPreviousPassageClicked() { stepPassage(m_viewer.previousReference); }

void ContextViewer::onNextPassageClicked() { stepPassage(m_viewer.nextReference); }

void ContextViewer::onPrintTriggered()
{
    CommandScope command(m_windows);
    printContext(this, m_windows.platform(), m_session, m_latinPassage, m_frenchPassage, m_form);
}

void ContextViewer::onCloseTriggered() { m_windows.unload(this); }

void ContextViewer::onAboutTriggered() { WindowDirectory::present(m_windows.aboutBox()); }

} // namespace quorvex
