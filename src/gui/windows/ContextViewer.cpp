#include "windows/ContextViewer.h"

#include "windows/SearchWindow.h"
#include "text/TextFile.h"
#include "printing/PrintCommands.h"
#include "platform/BusyPointer.h"
#include "platform/FileMessages.h"
#include "widgets/ResultGrid.h"
#include "platform/MessageBoxes.h"
#include "platform/TextCodec.h"
#include "look/WindowLook.h"
#include "look/Twips.h"
#include "app/WindowManager.h"
#include "windows/AboutBox.h"
#include "windows/TextWindow.h"
#include "passages/FormMarking.h"
#include "passages/ReferenceScan.h"
#include "session/ViewerState.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

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

} // namespace

ContextViewer::ContextViewer(WindowManager& forms) : m_forms(forms), m_state(forms.viewerState())
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
    Label1 = central->findChild<QLabel*>(QStringLiteral("Label1"));
    Label2 = central->findChild<QLabel*>(QStringLiteral("Label2"));

    auto makeLabel = [&](const char* name, const QString& caption, const QRect& rect) {
        QLabel* label = addLabel(central, name, caption, rect, timesNewRoman(12, true),
                                 palette().color(QPalette::WindowText));
        label->setTextFormat(Qt::PlainText);
        paintWindowBackground(label);
        return label;
    };
    Label5 = makeLabel("Label5", QStringLiteral("Critère de recherche :"),
                       twipsRect(360, 840, 2295, 375));
    Label6 = makeLabel("Label6", QString(), twipsRect(2760, 840, 2295, 375));
    colour(Label6, QPalette::WindowText, kFormRed);

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
    Command1 = makeButton("Command1", forward, QStringLiteral("Attestation suivant"),
                          twipsRect(7800, 6120, 1695, 735));
    Command2 = makeButton("Command2", backward, QStringLiteral("Attestation précédent"),
                          twipsRect(6000, 6120, 1695, 735));
    Command3 = makeButton("Command3", backward, QStringLiteral("Texte précédent"),
                          twipsRect(480, 6120, 1695, 735));
    Command4 = makeButton("Command4", forward, QStringLiteral("Texte suivant"),
                          twipsRect(2280, 6120, 1695, 735));

    Frame1 = makeFrame("Frame1", QStringLiteral("Texte Latin :"),
                       twipsRect(360, 1200, 9255, 2295), kPassageCaption);
    label3 = makePane(Frame1, "label3", twipsRect(120, 240, 9015, 1935));
    Frame2 = makeFrame("Frame2", QStringLiteral("Texte Français :"),
                       twipsRect(360, 3600, 9255, 2175), kPassageCaption);
    label4 = makePane(Frame2, "label4", twipsRect(120, 240, 9015, 1815));
    Frame4 = makeFrame("Frame4", QStringLiteral("Texte :"), twipsRect(360, 5880, 3735, 1095),
                       kFormRed);
    Frame3 = makeFrame("Frame3", QStringLiteral("Contexte :"), twipsRect(5880, 5880, 3735, 1095),
                       kFormRed);
    // The buttons lie over the frames' areas; made first, they come first in the tab order.
    for (QPushButton* button : {Command1, Command2, Command3, Command4})
        button->raise();
    connect(Command1, &QPushButton::clicked, this, &ContextViewer::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &ContextViewer::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &ContextViewer::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &ContextViewer::Command4_Click);

    QMenu* fichier = addMenu(menuBar(), QStringLiteral("&Fichier"), "fichier");
    imprimer = addMenuItem(fichier, QStringLiteral("&Imprimer le contexte"), "imprimer");
    fermer = addMenuItem(fichier, QStringLiteral("&Fermer"), "fermer");
    QMenu* aide = addMenu(menuBar(), QStringLiteral("&Aide"), "aide");
    about = addMenuItem(aide, QStringLiteral("&A propos de"), "about");
    connect(imprimer, &QAction::triggered, this, &ContextViewer::imprimer_Click);
    connect(fermer, &QAction::triggered, this, &ContextViewer::fermer_Click);
    connect(about, &QAction::triggered, this, &ContextViewer::about_Click);
}

ResultGrid* ContextViewer::grid() const
{
    SearchWindow* search = m_forms.contexteIfLoaded();
    return search ? search->grille01() : nullptr;
}

bool ContextViewer::Form_Load()
{
    ResultGrid* g = grid();
    return g && prendre_ligne(g->RowSel());
}

// Takes the attestation of a grid row and shows it. When its passage cannot be shown the
// step is undone: row, form and grid cell stay as they were.
bool ContextViewer::prendre_ligne(std::size_t row)
{
    ResultGrid* g = grid();
    if (!g || row >= g->Rows())
        return false;
    const std::size_t rowBefore = m_state.ligne_courante;
    const std::string referenceBefore = m_state.reference_attestation;
    const QString formBefore = Label6->text();
    const std::size_t gridRowBefore = g->Row();
    const int gridColBefore = g->Col();

    m_state.ligne_courante = row;
    g->setRow(row);
    g->setCol(1);
    m_state.reference_attestation = withoutTrailingSpaces(g->Text());
    g->setCol(0);
    Label6->setText(fromCp1252(g->Text()));

    const std::string reference = m_state.reference_attestation;
    if (afficher_passage(reference))
        return true;

    m_state.ligne_courante = rowBefore;
    m_state.reference_attestation = referenceBefore;
    Label6->setText(formBefore);
    if (gridRowBefore < g->Rows()) {
        g->setRow(gridRowBefore);
        g->setCol(gridColBefore);
    }
    return false;
}

bool ContextViewer::afficher_passage(const std::string& reference)
{
    const TextWindow* textWindow = m_forms.texteIfLoaded();
    const std::string latinPath = textWindow ? toPath(textWindow->latinPath()) : std::string();
    const std::string frenchPath = textWindow ? toPath(textWindow->frenchPath()) : std::string();

    // Both texts are read before anything changes, so a file gone since the last display
    // leaves both panes as they were rather than half updated.
    TextReadResult latin = readText(latinPath);
    TextReadResult french;
    if (!latin.error && !frenchPath.empty())
        french = readText(frenchPath);
    const FileError& error = latin.error ? latin.error : french.error;
    if (error) {
        if (MessageBoxes* messages = m_forms.platform().messages) {
            Message message = fileErrorMessage(error);
            message.text += QStringLiteral("\nLe passage ne peut pas être affiché.");
            messages->show(this, message);
        }
        return false;
    }

    const ReferenceScanResult latinScan = scanReference(latin.text, reference, Neighbours::Record);
    if (latinScan.pane)
        label3->setPlainText(fromCp1252(*latinScan.pane));
    if (!frenchPath.empty()) {
        const ReferenceScanResult frenchScan = scanReference(french.text, reference, Neighbours::Ignore);
        if (frenchScan.pane)
            label4->setPlainText(fromCp1252(*frenchScan.pane));
    }
    if (latinScan.previous)
        m_state.reference_precedente = *latinScan.previous;
    if (latinScan.next)
        m_state.reference_suivante = *latinScan.next;

    // A passage step offers only a passage met by this display: at either end of the text,
    // or when the passage was not found, the stored reference would show an unrelated one.
    Command3->setEnabled(latinScan.pane && latinScan.previous);
    Command4->setEnabled(latinScan.pane && latinScan.next);

    if (ResultGrid* g = grid()) {
        const std::size_t lastRow = g->Rows() - 1;
        Command1->setEnabled(m_state.ligne_courante != lastRow);
        Command2->setEnabled(m_state.ligne_courante != 1);
    } else {
        Command1->setEnabled(false);
        Command2->setEnabled(false);
    }

    surligner_forme();
    return true;
}

void ContextViewer::surligner_forme()
{
    const std::string form = toCp1252(Label6->text());
    // The document's own text, where a CR LF of the file is one paragraph break: positions
    // found in it are document positions.
    QTextDocument* document = label3->document();
    const QString plain = document->toPlainText();
    const std::string passage = toCp1252(plain);
    if (passage.size() != static_cast<std::size_t>(plain.size()))
        return;

    const std::vector<MarkRange> marks = formMarks(passage, form);
    QTextCharFormat marked;
    marked.setFontWeight(QFont::Bold);
    marked.setForeground(kMarkBlue);
    QTextCursor cursor(document);
    // One edit for all the marks: the pane is laid out once, not once a mark.
    cursor.beginEditBlock();
    for (const MarkRange& mark : marks) {
        cursor.setPosition(static_cast<int>(mark.start));
        cursor.setPosition(static_cast<int>(mark.start + mark.length), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(marked);
    }
    cursor.endEditBlock();

    QTextCursor caret = label3->textCursor();
    if (marks.empty())
        caret.clearSelection();
    else
        caret.setPosition(static_cast<int>(marks.back().start));
    label3->setTextCursor(caret);
}

void ContextViewer::Command1_Click()
{
    BusyGuard busy(*m_forms.platform().busy, this);
    ResultGrid* g = grid();
    const std::size_t next = m_state.ligne_courante + 1;
    if (g && next < g->Rows())
        prendre_ligne(next);
}

void ContextViewer::Command2_Click()
{
    BusyGuard busy(*m_forms.platform().busy, this);
    ResultGrid* g = grid();
    if (!g || m_state.ligne_courante < 2)
        return;
    std::size_t previous = m_state.ligne_courante - 1;
    if (previous >= g->Rows()) {
        // The grid shrank while the viewer stayed open: go to its last attestation.
        if (g->Rows() < 2)
            return;
        previous = g->Rows() - 1;
    }
    prendre_ligne(previous);
}

void ContextViewer::stepPassage(const std::string& storedReference)
{
    BusyGuard busy(*m_forms.platform().busy, this);
    // The display rewrites the stored references while it scans: it gets a copy.
    const std::string reference = storedReference;
    afficher_passage(reference);
}

void ContextViewer::Command3_Click() { stepPassage(m_state.reference_precedente); }

void ContextViewer::Command4_Click() { stepPassage(m_state.reference_suivante); }

void ContextViewer::imprimer_Click()
{
    printContext(this, m_forms.platform(), paneTextCp1252(*label3), paneTextCp1252(*label4));
}

void ContextViewer::fermer_Click() { m_forms.unload(this); }

void ContextViewer::about_Click() { WindowManager::present(m_forms.about()); }

void ContextViewer::closeEvent(QCloseEvent* event)
{
    event->ignore();
    m_forms.unload(this);
}

} // namespace quorvex
