#include "windows/SearchWindow.h"

#include "concordance/FormSearch.h"
#include "concordance/GridHeader.h"
#include "session/SearchDate.h"
#include "text/TextFile.h"
#include "printing/PrintCommands.h"
#include "output/ResultFile.h"
#include "platform/BusyPointer.h"
#include "platform/FileDialogs.h"
#include "platform/FileMessages.h"
#include "platform/FileTest.h"
#include "widgets/ResultGrid.h"
#include "platform/MessageBoxes.h"
#include "platform/TextCodec.h"
#include "look/WindowLook.h"
#include "look/Twips.h"
#include "app/WindowManager.h"
#include "look/Pictures.h"
#include "windows/AboutBox.h"
#include "windows/TextWindow.h"
#include "windows/ContextViewer.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

static void initWindowsResources() { Q_INIT_RESOURCE(windows); }

namespace quorvex {

namespace {

const QString kTextFilter = QStringLiteral("Fichiers Texte (*.TXT)|*.TXT");

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

SearchWindow::SearchWindow(WindowManager& forms) : m_forms(forms)
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

    Frame2 = addFrame(client, QStringLiteral("Frame2"), QStringLiteral("Recherche une forme :"),
                      twipsRect(360, 1080, 5655, 975), 11.25);
    Text1 = new QLineEdit(Frame2);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twipsRect(240, 360, 3615, 315));
    Text1->setFont(timesNewRoman(9.75));
    Command1 = addButton(Frame2, "Command1", QString(), twipsRect(4080, 240, 1215, 615));
    const QSize pictureSize = twipsSize(76 * 15, 38 * 15);
    Command1->setIcon(recherchePicture(pictureSize));
    Command1->setIconSize(pictureSize);

    Frame1 = addFrame(client, QStringLiteral("Frame1"),
                      QStringLiteral("Résultat de la recherche :"),
                      twipsRect(240, 2280, 9495, 4935), 12);
    const QFont countFont = timesNewRoman(12, true, true);
    label3 = addLabel(Frame1, "label3", QStringLiteral("Nombre d'attestation(s) pour : "),
                      twipsRect(360, 360, 3135, 255), countFont, QColor(0, 0, 192));
    label3->hide();
    label4 = addLabel(Frame1, "label4", QString(), twipsRect(3480, 360, 3135, 255), countFont,
                      QColor(192, 0, 0));

    m_grille01 = new ResultGrid(Frame1);
    m_grille01->setObjectName(QStringLiteral("grille01"));
    m_grille01->setGeometry(twipsRect(360, 720, 6855, 3975));

    Frame3 = addFrame(Frame1, QStringLiteral("Frame3"), QStringLiteral("Tri par :"),
                      twipsRect(7320, 600, 2055, 1935), 12);
    // The buttons belong to Frame1 and stand over Frame3's area.
    const QFont buttonFont = fontOf(QStringLiteral("MS Sans Serif"), 12, true);
    Command2 = addButton(Frame1, "Command2", QStringLiteral("Formes"),
                         twipsRect(7440, 1080, 1815, 495));
    Command2->setFont(buttonFont);
    Command2->raise();
    Command3 = addButton(Frame1, "Command3", QStringLiteral("Références"),
                         twipsRect(7440, 1800, 1815, 495));
    Command3->setFont(buttonFont);
    Command3->raise();

    setTabOrder(Text1, Command1);
    setTabOrder(Command1, m_grille01);
    setTabOrder(m_grille01, Command3);
    setTabOrder(Command3, Command2);
    Text1->setFocus();

    connect(Command1, &QPushButton::clicked, this, &SearchWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &SearchWindow::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &SearchWindow::Command3_Click);
    connect(m_grille01, &ResultGrid::Click, this, &SearchWindow::grille01_Click);
}

void SearchWindow::buildMenus()
{
    QMenu* fichier = addMenu(menuBar(), QStringLiteral("&Fichier"), "fichier");
    enregistrer = addMenuItem(fichier, QStringLiteral("&Enregistrer"), "enregistrer");
    imprimer = addMenuItem(fichier, QStringLiteral("&Imprimer les attestations"), "imprimer");
    quitter = addMenuItem(fichier, QStringLiteral("&Fermer"), "quitter");
    QMenu* aide = addMenu(menuBar(), QStringLiteral("&Aide"), "aide");
    about = addMenuItem(aide, QStringLiteral("&A propos de"), "about");

    connect(enregistrer, &QAction::triggered, this, &SearchWindow::enregistrer_Click);
    connect(imprimer, &QAction::triggered, this, &SearchWindow::imprimer_Click);
    connect(quitter, &QAction::triggered, this, &SearchWindow::quitter_Click);
    connect(about, &QAction::triggered, this, &SearchWindow::about_Click);
}

bool SearchWindow::Form_Load()
{
    // The date picker holds whole seconds.
    const QDateTime now = QDateTime::currentDateTime();
    m_loadMoment = QDateTime(now.date(), QTime(now.time().hour(), now.time().minute(),
                                               now.time().second()));

    TextWindow* texte = m_forms.texte();
    const QString path = texte ? texte->latinPath() : QString();
    TextReadResult latin = readText(toPath(path));
    if (latin.error) {
        m_forms.platform().messages->show(texte, fileErrorMessage(latin.error));
        return false;
    }
    m_words = WordTable::segment(std::move(latin.text));
    preparer_grille();
    return true;
}

void SearchWindow::preparer_grille()
{
    prepareGrid(m_grille01->cells());
    m_grille01->refresh();
}

void SearchWindow::Command1_Click()
{
    BusyGuard busy(*m_forms.platform().busy, this);
    label4->hide();
    const QString typed = Text1->text();
    m_compteur = searchIntoGrid(m_words, toCp1252(typed), m_grille01->cells());
    m_grille01->refresh();
    label4->setText(typed + QStringLiteral(" = ") + QString::number(m_compteur));
    label4->show();
    label3->show();
}

void SearchWindow::Command2_Click()
{
    BusyGuard busy(*m_forms.platform().busy, this);
    m_grille01->setColSel(0);
    m_grille01->Sort();
}

void SearchWindow::Command3_Click() { Command1_Click(); }

void SearchWindow::grille01_Click()
{
    BusyGuard busy(*m_forms.platform().busy, this);
    WindowManager::present(m_forms.affContexte());
}

void SearchWindow::enregistrer_Click()
{
    const Platform& platform = m_forms.platform();
    const QString name = platform.fileDialogs->showSave(this, kTextFilter, m_saveFileName);
    if (name.isEmpty())
        return;
    m_saveFileName = name;

    if (platform.files->fileExists(name)) {
        Message question;
        question.text = name + QStringLiteral(" existe.\r\nDésirez-vous l'écraser?");
        question.title = QStringLiteral("Fichier existant");
        question.buttons = MessageButtons::YesNo;
        question.defaultAnswer = MessageAnswer::Yes;
        if (platform.messages->show(this, question) != MessageAnswer::Yes)
            return;
        // The old file is not deleted here: it is replaced only once the new one is
        // complete, so a failed write leaves it as it was.
    }

    FileError error;
    {
        BusyGuard busy(*platform.busy, this);
        TextWindow* texte = m_forms.texte();
        error = saveResultFile(toPath(name), m_grille01->cells(),
                               toCp1252(texte->referencesText()),
                               toCp1252(searchDateText(m_loadMoment)),
                               toPath(texte->latinPath()), toPath(texte->frenchPath()));
        if (!error) {
            // Reading the cells row by row leaves the current cell on the last row, column 1.
            m_grille01->setRow(m_grille01->Rows() - 1);
            m_grille01->setCol(1);
        }
    }
    if (error) {
        platform.messages->show(this, fileErrorMessage(error));
        return;
    }
    Message done;
    done.text = QStringLiteral("L'enregistrement est terminé.");
    platform.messages->show(this, done);
}

void SearchWindow::imprimer_Click() { printAttestations(this, m_forms.platform(), *m_grille01); }

void SearchWindow::quitter_Click() { m_forms.unload(this); }

void SearchWindow::about_Click() { WindowManager::present(m_forms.about()); }

void SearchWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    m_forms.unload(this);
}

} // namespace quorvex
