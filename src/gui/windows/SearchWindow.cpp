#include "windows/SearchWindow.h"

#include "windows/WindowDirectory.h"
#include "windows/tools/ToolWindow.h"
#include "look/Pictures.h"
#include "look/Twips.h"
#include "look/WindowLook.h"
#include "lexicon/LexiconFolder.h"
#include "windows/DialogFolder.h"
#include "windows/ListSave.h"
#include "output/ResultFile.h"
#include "platform/BusyPointer.h"
#include "platform/FileDialogs.h"
#include "platform/FileMessages.h"
#include "platform/FileTest.h"
#include "platform/MessageBoxes.h"
#include "platform/ProgressIndicator.h"
#include "platform/TextInput.h"
#include "platform/TextCodec.h"
#include "printing/PrintCommands.h"
#include "session/ChoiceSettings.h"
#include "session/Session.h"
#include "widgets/ElidedLabel.h"
#include "widgets/ResultGrid.h"
#include "windows/AboutBox.h"
#include "windows/ContextViewer.h"
#include "windows/TextWindow.h"
#include "windows/ToolsMenu.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

#include <optional>

static void initWindowsResources() { Q_INIT_RESOURCE(windows); }

namespace quorvex {

namespace {

const QString kTextFilter = QStringLiteral("Fichiers Texte (*.TXT)|*.TXT");
// The kinds of the export, in the order of their filters.
struct ExportKind {
    const char* filter;
    ListExport kind;
};
constexpr ExportKind kExportKinds[] = {
    {"TSV (*.tsv)|*.tsv", ListExport::Tsv},   {"CSV (*.csv)|*.csv", ListExport::Csv},
    {"HTML (*.html)|*.html", ListExport::Html}, {"KWIC (*.txt)|*.txt", ListExport::Kwic},
    {"TMX (*.tmx)|*.tmx", ListExport::Tmx},
};

// The search button's picture, drawn 76 x 38 pixels at 96 dpi.
QIcon recherchePicture(const QSize& size)
{
    static const bool initialised = (initWindowsResources(), true);
    Q_UNUSED(initialised);
    QIcon icon;
    for (qreal ratio : {1.0, 2.0})
        icon.addPixmap(renderPicture(QStringLiteral(":/windows/recherche.svg"), size, ratio));
    return icon;
}

// Running short of memory ends a command, never the program: the window keeps its state.
Message memoryShortMessage(const QString& text)
{
    Message message;
    message.text = text;
    message.icon = MessageIcon::Warning;
    return message;
}

} // namespace

Message SearchWindow::searchFailureMessage(SessionFailure failure, const QString& query) const
{
    if (failure == SessionFailure::Unreadable) {
        // A file the choices need (the lexicon, the French text) could not be read.
        Message message;
        message.text = m_session.failureMessage() + QStringLiteral("\nLa liste précédente est conservée.");
        message.icon = MessageIcon::Warning;
        return message;
    }
    return memoryShortMessage(QStringLiteral("Mémoire insuffisante pour la recherche de « %1 » : "
                                             "la liste précédente est conservée.")
                                  .arg(query));
}

namespace {

QPushButton* addButton(QWidget* parent, const char* name, const QString& caption,
                       const QRect& rect)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(rect);
    button->setAutoDefault(false);
    return button;
}

} // namespace

SearchWindow::SearchWindow(WindowDirectory& windows)
    : m_windows(windows), m_session(windows.session())
{
    setObjectName(QStringLiteral("Frmcontexte"));
    setWindowTitle(applicationTitle());
    buildControls();
    buildMenus();
    const QSize client = twipsSize(10050, 7365);
    resize(client.width(), client.height() + menuBar()->sizeHint().height());
}

void SearchWindow::buildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    paintWindowBackground(client);
    setCentralWidget(client);

    addTitleBand(client, twipsRect(720, 120, 8535, 615));

    m_searchFrame = addFrame(client, QStringLiteral("Frame2"), QStringLiteral("Recherche une forme :"),
                      twipsRect(360, 1080, 5655, 975), 11.25);
    m_formEdit = new QLineEdit(m_searchFrame);
    m_formEdit->setObjectName(QStringLiteral("Text1"));
    m_formEdit->setGeometry(twipsRect(240, 360, 3615, 315));
    m_formEdit->setFont(timesNewRoman(9.75));
    m_searchButton = addButton(m_searchFrame, "Command1", QString(), twipsRect(4080, 240, 1215, 615));
    const QSize pictureSize = twipsSize(76 * 15, 38 * 15);
    m_searchButton->setIcon(recherchePicture(pictureSize));
    m_searchButton->setIconSize(pictureSize);

    m_resultFrame = addFrame(client, QStringLiteral("Frame1"),
                      QStringLiteral("Résultat de la recherche :"),
                      twipsRect(240, 2280, 9495, 4935), 12);
    const QFont countFont = timesNewRoman(12, true, true);
    m_countCaption = addLabel(m_resultFrame, "label3", QStringLiteral("Nombre d'attestation(s) pour : "),
                      twipsRect(360, 360, 3135, 255), countFont, QColor(0, 0, 192));
    m_countCaption->hide();
    m_countLabel = new ElidedLabel(m_resultFrame);
    placeLabel(m_countLabel, "label4", twipsRect(3480, 360, 3135, 255), countFont, QColor(192, 0, 0));

    m_resultGrid = new ResultGrid(m_session, m_resultFrame);
    m_resultGrid->setObjectName(QStringLiteral("grille01"));
    m_resultGrid->setGeometry(twipsRect(360, 720, 6855, 3975));

    m_sortFrame = addFrame(m_resultFrame, QStringLiteral("Frame3"), QStringLiteral("Tri par :"),
                      twipsRect(7320, 600, 2055, 1935), 12);
    // The buttons belong to m_resultFrame and stand over m_sortFrame's area.
    const QFont buttonFont = fontOf(QStringLiteral("MS Sans Serif"), 12, true);
    m_sortByFormButton = addButton(m_resultFrame, "Command2", QStringLiteral("Formes"),
                         twipsRect(7440, 1080, 1815, 495));
    m_sortByFormButton->setFont(buttonFont);
    m_sortByFormButton->raise();
    m_sortByReferenceButton = addButton(m_resultFrame, "Command3", QStringLiteral("Références"),
                         twipsRect(7440, 1800, 1815, 495));
    m_sortByReferenceButton->setFont(buttonFont);
    m_sortByReferenceButton->raise();

    // The analysis filter of a lemma search (--morph), beside the search frame.
    m_morphCaption = addLabel(client, "label_analyse", QStringLiteral("Analyse (lemme) :"),
                              twipsRect(6240, 1140, 3495, 255), timesNewRoman(9.75), QColor(0, 0, 0));
    m_morphEdit = new QLineEdit(client);
    m_morphEdit->setObjectName(QStringLiteral("analyse"));
    m_morphEdit->setGeometry(twipsRect(6240, 1440, 3495, 315));
    m_morphEdit->setFont(timesNewRoman(9.75));
    m_morphEdit->setPlaceholderText(QStringLiteral("subjonctif, ablatif pluriel..."));

    setTabOrder(m_formEdit, m_searchButton);
    setTabOrder(m_searchButton, m_resultGrid);
    setTabOrder(m_resultGrid, m_sortByReferenceButton);
    setTabOrder(m_sortByReferenceButton, m_sortByFormButton);
    m_formEdit->setFocus();

    connect(m_searchButton, &QPushButton::clicked, this, &SearchWindow::onSearchClicked);
    connect(m_morphEdit, &QLineEdit::returnPressed, this, &SearchWindow::onMorphEntered);
    connect(m_sortByFormButton, &QPushButton::clicked, this, &SearchWindow::onSortByFormClicked);
    connect(m_sortByReferenceButton, &QPushButton::clicked, this, &SearchWindow::onSortByReferenceClicked);
    connect(m_resultGrid, &ResultGrid::clicked, this, &SearchWindow::onResultGridClicked);
}

void SearchWindow::buildMenus()
{
    QMenu* fichier = addMenu(menuBar(), QStringLiteral("&Fichier"), "fichier");
    m_saveAction = addMenuItem(fichier, QStringLiteral("&Enregistrer"), "enregistrer");
    m_printAction = addMenuItem(fichier, QStringLiteral("&Imprimer les attestations"), "imprimer");
    m_closeAction = addMenuItem(fichier, QStringLiteral("&Fermer"), "quitter");
    m_tools = new ToolsMenu(addMenu(menuBar(), QStringLiteral("&Outils"), "outils"));
    QMenu* aide = addMenu(menuBar(), QStringLiteral("&Aide"), "aide");
    m_aboutAction = addMenuItem(aide, QStringLiteral("&A propos de"), "about");

    connect(m_saveAction, &QAction::triggered, this, &SearchWindow::onSaveTriggered);
    connect(m_printAction, &QAction::triggered, this, &SearchWindow::onPrintTriggered);
    connect(m_closeAction, &QAction::triggered, this, &SearchWindow::onCloseTriggered);
    connect(m_aboutAction, &QAction::triggered, this, &SearchWindow::onAboutTriggered);
    connectToolsMenu();
}

QAction* SearchWindow::toolAction(const QString& name) const { return m_tools->item(name); }

void SearchWindow::connectToolsMenu()
{
    const auto toggles = [this](QAction* item, auto setter) {
        connect(item, &QAction::toggled, this, [this, setter](bool on) {
            SearchChoices choices = m_session.choices();
            setter(choices.asked, on);
            changeChoices(choices);
        });
    };
    toggles(m_tools->lemma, [](SearchRequest& r, bool on) {
        r.lemma = on;
        if (!on)
            r.lemmaStrict = false;
    });
    toggles(m_tools->lemmaStrict, [](SearchRequest& r, bool on) { r.lemmaStrict = on; });
    toggles(m_tools->normalize, [](SearchRequest& r, bool on) { r.normalize = on; });
    toggles(m_tools->phrase, [](SearchRequest& r, bool on) { r.phrase = on; });
    toggles(m_tools->aligned, [](SearchRequest& r, bool on) { r.aligned = on; });
    connect(m_tools->frenchSide, &QAction::toggled, this, [this](bool on) {
        if (on && !frenchTextAtHand()) {
            reflectChoices();
            return;
        }
        SearchChoices choices = m_session.choices();
        choices.asked.frenchSide = on;
        changeChoices(choices);
    });
    connect(m_tools->markTranslations, &QAction::toggled, this, [this](bool on) {
        if (on && !frenchTextAtHand()) {
            reflectChoices();
            return;
        }
        SearchChoices choices = m_session.choices();
        choices.markTranslations = on;
        changeChoices(choices);
    });
    for (const auto& [item, kind] : {std::pair{m_tools->lemmaForms, ToolWindowKind::LemmaForms},
                                     std::pair{m_tools->kwic, ToolWindowKind::Kwic},
                                     std::pair{m_tools->collocates, ToolWindowKind::Collocates},
                                     std::pair{m_tools->dispersion, ToolWindowKind::Dispersion}})
        connect(item, &QAction::triggered, this, [this, kind = kind] { m_windows.openToolWindow(kind, this); });
    // The equivalents need the French text: read first, or the reason told, once.
    connect(m_tools->translations, &QAction::triggered, this, [this] {
        if (frenchTextAtHand())
            m_windows.openToolWindow(ToolWindowKind::Translations, this);
    });
    connect(m_tools->frenchForm, &QAction::triggered, this, &SearchWindow::onFrenchFormTriggered);
    connect(m_tools->sortLeft, &QAction::triggered, this, [this] { onSortByNeighbourTriggered(true); });
    connect(m_tools->sortRight, &QAction::triggered, this, [this] { onSortByNeighbourTriggered(false); });
    connect(m_tools->exportList, &QAction::triggered, this, &SearchWindow::onExportTriggered);
    connect(m_tools->copyCommand, &QAction::triggered, this,
            [this] { QGuiApplication::clipboard()->setText(m_session.commandLine()); });

    connect(&m_session, &Session::choicesChanged, this, &SearchWindow::reflectChoices);
    connect(&m_session, &Session::frenchPathChanged, this, &SearchWindow::reflectChoices);
    connect(&m_session, &Session::resultsReset, this, &SearchWindow::showCount);
    // A list shown can be copied as a command; the lexicon read for it may have a warning.
    connect(&m_session, &Session::resultsReset, this, &SearchWindow::reflectChoices);
    reflectChoices();
}

void SearchWindow::reflectChoices()
{
    // Without the lexicon, its items say which folders were tried and how to get it.
    const QString lexiconMissing = m_session.lexiconFound()
        ? QString()
        : QString::fromStdString(lexicon::describeMissingLexicon(
              lexicon::lookUpLexicon(lexicon::lexiconPlacesOfThisProgram()).tried));
    m_tools->reflect(m_session.choices(), lexiconMissing, !m_session.frenchPath().isEmpty(),
                     m_session.lexiconWarning(), m_session.searched());
    const SearchRequest& asked = m_session.choices().asked;
    const QString morph = QString::fromStdString(asked.morph.value_or(std::string()));
    m_morphEdit->setEnabled(asked.lemma);
    m_morphCaption->setEnabled(asked.lemma);
    if (!m_morphEdit->hasFocus() || m_morphEdit->text().trimmed() == morph)
        m_morphEdit->setText(morph);
}

void SearchWindow::onMorphEntered()
{
    SearchChoices choices = m_session.choices();
    const QString typed = m_morphEdit->text().trimmed();
    choices.asked.morph.reset();
    if (!typed.isEmpty())
        choices.asked.morph = typed.toStdString();
    if (choices != m_session.choices())
        changeChoices(choices);
    // A refused filter leaves the one in effect shown.
    m_morphEdit->setText(QString::fromStdString(m_session.choices().asked.morph.value_or(std::string())));
}

void SearchWindow::changeChoices(const SearchChoices& choices)
{
    BusyGuard busy(m_windows.platform().busy, this);
    if (const SessionFailure failure = m_session.applyChoices(choices); failure != SessionFailure::None) {
        busy.release();
        m_windows.platform().messages.show(this, searchFailureMessage(failure, m_session.listQuery()));
    } else {
        keepChoices(m_session.choices());
    }
    reflectChoices();
}

bool SearchWindow::frenchTextAtHand()
{
    BusyGuard busy(m_windows.platform().busy, this);
    const SessionFailure failure = m_session.useFrenchText();
    if (failure == SessionFailure::None)
        return true;
    busy.release();
    Message message;
    message.text = failure == SessionFailure::OutOfMemory
        ? QStringLiteral("Mémoire insuffisante pour lire le texte français.")
        : m_session.failureMessage();
    message.icon = MessageIcon::Warning;
    m_windows.platform().messages.show(this, message);
    return false;
}

void SearchWindow::onFrenchFormTriggered()
{
    // The item's check mark shows the filter in effect, not the click.
    reflectChoices();
    if (!frenchTextAtHand())
        return;
    const std::optional<QString> answer = m_windows.platform().textInput.ask(
        this, QStringLiteral("Forme dans le passage français"),
        QStringLiteral("Forme à chercher dans le passage français (vide : aucun filtre) :"),
        fromCp1252(m_session.choices().asked.frenchForm.value_or(std::string())));
    if (!answer)
        return;
    SearchChoices choices = m_session.choices();
    choices.asked.frenchForm.reset();
    if (!answer->trimmed().isEmpty())
        choices.asked.frenchForm = toCp1252(answer->trimmed());
    changeChoices(choices);
}

void SearchWindow::onSortByNeighbourTriggered(bool left)
{
    BusyGuard busy(m_windows.platform().busy, this);
    if (m_session.sortByNeighbour(left ? Neighbour::Left : Neighbour::Right) != SessionFailure::None) {
        busy.release();
        m_windows.platform().messages.show(
            this, memoryShortMessage(QStringLiteral("Mémoire insuffisante pour trier la liste : "
                                                    "son ordre est conservé.")));
    }
}

void SearchWindow::showCount()
{
    if (!m_session.searched())
        return;
    const SearchRequest& c = m_session.choices().asked;
    const QString query = m_session.listQuery();
    QStringList excluded;
    for (const std::string& form : c.excludedForms)
        excluded << fromCp1252(form);
    const QString frenchForm = fromCp1252(c.frenchForm.value_or(std::string()));
    const QString frenchLemma = QString::fromStdString(c.frenchLemma.value_or(std::string()));
    const QString count = QString::number(m_session.results().size());
    QString text = query + QStringLiteral(" = ") + count;
    QStringList tip;
    if (c.lemma) {
        switch (m_session.lemmaMatch()) {
        case LemmaMatchKind::Lemma:
            text = excluded.isEmpty()
                ? query + QStringLiteral(" (lemme) = ") + count
                : query
                    + QStringLiteral(" (lemme, %1 %2) = ")
                          .arg(excluded.size())
                          .arg(excluded.size() == 1 ? QStringLiteral("exclue") : QStringLiteral("exclues"))
                    + count;
            break;
        case LemmaMatchKind::Form:
            text = query + QStringLiteral(" (forme) = ") + count;
            break;
        case LemmaMatchKind::Unknown:
            text = query + QStringLiteral(" (lemme) = 0");
            break;
        }
        if (!m_session.lemmaLines().isEmpty())
            tip << m_session.lemmaLines();
        tip << QStringLiteral("Recherche par lemme");
        if (c.lemmaStrict)
            tip << QStringLiteral("Lemme strict");
        if (c.morph)
            tip << QStringLiteral("Analyse : %1").arg(QString::fromStdString(*c.morph));
    }
    if (c.normalize && !c.lemma)
        tip << QStringLiteral("Orthographe normalisée");
    if (c.phrase)
        tip << QStringLiteral("Expression de plusieurs mots");
    if (c.frenchSide)
        tip << QStringLiteral("Chercher dans le texte français");
    if (c.frenchForm)
        tip << QStringLiteral("Forme dans le passage français : %1").arg(frenchForm);
    if (!excluded.isEmpty())
        tip << QStringLiteral("Formes exclues : %1").arg(excluded.join(QStringLiteral(", ")));
    if (c.frenchLemma)
        tip << QStringLiteral("Traduction : %1").arg(frenchLemma);
    if (c.aligned && c.filtersByOtherText())
        tip << QStringLiteral("Filtrer par les mots alignés");
    m_countLabel->setText(text);
    // A form too long for the label is painted elided: the tool tip gives it whole.
    if (m_countLabel->elides())
        tip.prepend(text);
    m_countLabel->setToolTip(tip.join(QLatin1Char('\n')));
}

bool SearchWindow::load()
{
    if (const FileError error = m_session.loadLatinText()) {
        m_windows.platform().messages.show(m_windows.textWindowIfLoaded(), fileErrorMessage(error));
        return false;
    }
    // The choices of the last run, less what is not at hand now.
    SearchChoices kept = readKeptChoices();
    SearchRequest& r = kept.asked;
    if (!m_session.lexiconFound())
        r.lemma = r.lemmaStrict = false;
    if (!r.lemma)
        r.morph.reset();
    if (r.lemma)
        r.phrase = r.frenchSide = false;
    if (m_session.frenchPath().isEmpty())
        r.frenchSide = kept.markTranslations = r.aligned = false;
    if (m_session.frenchPath().isEmpty() || r.frenchSide)
        r.frenchForm.reset();
    m_session.applyChoices(kept);
    return true;
}

void SearchWindow::onSearchClicked()
{
    BusyGuard busy(m_windows.platform().busy, this);
    m_countLabel->hide();
    const QString typed = m_formEdit->text();
    std::size_t count = 0;
    if (const SessionFailure failure = m_session.search(typed, count); failure != SessionFailure::None) {
        // The list and the count shown stay those of the previous search.
        m_countLabel->show();
        busy.release();
        m_windows.platform().messages.show(this, searchFailureMessage(failure, typed));
        return;
    }
    m_countLabel->show();
    m_countCaption->show();
}

void SearchWindow::onSortByFormClicked()
{
    BusyGuard busy(m_windows.platform().busy, this);
    if (m_session.sortByForm() != SessionFailure::None) {
        busy.release();
        m_windows.platform().messages.show(
            this, memoryShortMessage(QStringLiteral("Mémoire insuffisante pour trier la liste : "
                                                    "son ordre est conservé.")));
    }
}

void SearchWindow::onSortByReferenceClicked() { onSearchClicked(); }

void SearchWindow::onResultGridClicked()
{
    BusyGuard busy(m_windows.platform().busy, this);
    WindowDirectory::present(m_windows.contextViewer());
}

void SearchWindow::onSaveTriggered()
{
    // From the file's name to the last message, the list shown now is the one written.
    CommandScope command(m_windows);
    const Platform& platform = m_windows.platform();
    const QString name = platform.fileDialogs.showSave(
        this, kTextFilter, nameInOrdinaryFolder(platform.files, m_saveFileName, m_session.latinPath()));
    if (name.isEmpty())
        return;
    m_saveFileName = name;

    writeListFile(this, platform, m_session, name, [this](const std::string& path, const SaveControl& control) {
        return m_session.saveResultFile(path, control);
    });
}

void SearchWindow::onExportTriggered()
{
    CommandScope command(m_windows);
    const Platform& platform = m_windows.platform();
    QStringList filters;
    for (const ExportKind& k : kExportKinds)
        filters << QString::fromLatin1(k.filter);
    const FileDialogs::SaveAnswer answer = platform.fileDialogs.showSaveAs(
        this, filters, nameInOrdinaryFolder(platform.files, m_exportFileName, m_session.latinPath()));
    if (answer.fileName.isEmpty())
        return;
    m_exportFileName = answer.fileName;
    const ListExport kind = kExportKinds[answer.filter >= 0 && answer.filter < int(filters.size()) ? answer.filter : 0].kind;
    writeListFile(this, platform, m_session, answer.fileName,
                  [this, kind, &platform](const std::string& path, const SaveControl& control) {
                      // The renderings' alignment is learnt first, with its own progress: a
                      // cancel there writes nothing, as a cancel of the writing does.
                      if (m_session.exportHasRenderings(kind)) {
                          FileError error;
                          equivalentsFollowed(m_session, platform.progress, this, &error);
                          if (error.kind == FileErrorKind::Cancelled)
                              return cancelledWrite(path);
                      }
                      return m_session.exportList(path, kind, control);
                  });
}

void SearchWindow::onPrintTriggered()
{
    CommandScope command(m_windows);
    printAttestations(this, m_windows.platform(), m_session);
}

void SearchWindow::onCloseTriggered() { m_windows.unload(this); }

void SearchWindow::onAboutTriggered() { WindowDirectory::present(m_windows.aboutBox()); }

} // namespace quorvex
