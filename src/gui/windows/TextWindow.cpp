#include "windows/TextWindow.h"

#include "windows/SearchWindow.h"
#include "text/TextFile.h"
#include "platform/BusyPointer.h"
#include "platform/FileDialogs.h"
#include "platform/FileMessages.h"
#include "platform/FileTest.h"
#include "platform/MessageBoxes.h"
#include "platform/TextCodec.h"
#include "look/WindowLook.h"
#include "windows/DialogFolder.h"
#include "look/Twips.h"
#include "session/Session.h"
#include "windows/WindowDirectory.h"
#include "windows/AboutBox.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>


namespace quorvex {

namespace {

const QString kTextFilter = QStringLiteral("Fichiers Texte (*.TXT)|*.TXT");

} // namespace

TextWindow::TextWindow(WindowDirectory& windows) : m_windows(windows)
{
    setObjectName(QStringLiteral("frmtexte"));
    setWindowTitle(applicationTitle());
    buildControls();
    buildMenus();
    updateConcordanceState();
    const QSize client = twipsSize(9165, 3765);
    resize(client.width(), client.height() + menuBar()->sizeHint().height());
}

void TextWindow::buildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    paintWindowBackground(client);
    setCentralWidget(client);

    addTitleBand(client, twipsRect(360, 120, 8415, 615));

    const auto textBox = [](QWidget* parent, const char* name, const QRect& rect) {
        auto* box = new QLineEdit(parent);
        box->setObjectName(QString::fromLatin1(name));
        box->setGeometry(rect);
        box->setFont(dialogFont());
        return box;
    };
    const auto button = [](QWidget* parent, const char* name, const QRect& rect) {
        auto* b = new QPushButton(QStringLiteral("Parcourir..."), parent);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(rect);
        b->setFont(dialogFont());
        b->setAutoDefault(false);
        return b;
    };

    m_titleFrame = addFrame(client, QStringLiteral("Frame3"),
                      QStringLiteral("Titre - Référence(s) pour la recherche :"),
                      twipsRect(360, 840, 8415, 735), 11.25);
    m_titleEdit = textBox(m_titleFrame, "References", twipsRect(120, 360, 8175, 285));

    m_latinFrame = addFrame(client, QStringLiteral("Frame1"), QStringLiteral("Ouvrir un texte latin : "),
                      twipsRect(360, 1680, 8415, 855), 11.25);
    m_latinPathEdit = textBox(m_latinFrame, "Text_latin", twipsRect(240, 360, 6495, 285));
    m_browseLatinButton = button(m_latinFrame, "Ouvrir_latin", twipsRect(6960, 290, 1095, 375));

    m_frenchFrame = addFrame(client, QStringLiteral("Frame2"),
                      QStringLiteral("Ouvrir un texte français :  "),
                      twipsRect(360, 2640, 8415, 855), 11.25);
    m_browseFrenchButton = button(m_frenchFrame, "Ouvrir_francais", twipsRect(6960, 290, 1095, 375));
    m_frenchPathEdit = textBox(m_frenchFrame, "Text_francais", twipsRect(240, 360, 6495, 285));

    setTabOrder(m_latinPathEdit, m_browseLatinButton);
    setTabOrder(m_browseLatinButton, m_browseFrenchButton);
    setTabOrder(m_browseFrenchButton, m_frenchPathEdit);
    setTabOrder(m_frenchPathEdit, m_titleEdit);
    m_latinPathEdit->setFocus();

    connect(m_browseLatinButton, &QPushButton::clicked, this, &TextWindow::onBrowseLatinClicked);
    connect(m_browseFrenchButton, &QPushButton::clicked, this, &TextWindow::onBrowseFrenchClicked);
    connect(m_latinPathEdit, &QLineEdit::textChanged, this, &TextWindow::onLatinPathChanged);
    connect(m_frenchPathEdit, &QLineEdit::textChanged, this, &TextWindow::onFrenchPathChanged);
    connect(m_titleEdit, &QLineEdit::textChanged, this, &TextWindow::onTitleChanged);
}

void TextWindow::buildMenus()
{
    QMenu* fichier = addMenu(menuBar(), QStringLiteral("&Fichier"), "fichier");
    m_openLatinAction = addMenuItem(fichier, QStringLiteral("&Ouvrir un texte latin"), "open_latin");
    m_openFrenchAction =
        addMenuItem(fichier, QStringLiteral("&Ouvrir un texte français"), "open_francais");
    m_quitAction = addMenuItem(fichier, QStringLiteral("&Quitter"), "quitter");
    QMenu* application = addMenu(menuBar(), QStringLiteral("&Application"), "application");
    m_concordanceAction = addMenuItem(application, QStringLiteral("&Concordance"), "concordance");
    QMenu* aide = addMenu(menuBar(), QStringLiteral("&Aide"), "aide");
    m_aboutAction = addMenuItem(aide, QStringLiteral("&A propos de"), "about");

    connect(m_openLatinAction, &QAction::triggered, this, &TextWindow::onOpenLatinTriggered);
    connect(m_openFrenchAction, &QAction::triggered, this, &TextWindow::onOpenFrenchTriggered);
    connect(m_quitAction, &QAction::triggered, this, &TextWindow::onQuitTriggered);
    connect(m_concordanceAction, &QAction::triggered, this, &TextWindow::onConcordanceTriggered);
    connect(m_aboutAction, &QAction::triggered, this, &TextWindow::onAboutTriggered);
}

bool TextWindow::load() { return true; }


void TextWindow::onBrowseLatinClicked() { browseInto(m_latinPathEdit); }

void TextWindow::onBrowseFrenchClicked() { browseInto(m_frenchPathEdit); }

void TextWindow::browseInto(QLineEdit* target)
{
    const Platform& platform = m_windows.platform();
    const QString chosen = platform.fileDialogs.showOpen(
        this, kTextFilter,
        nameInOrdinaryFolder(platform.files, m_dialogFileName, m_windows.session().latinPath()));
    if (chosen.isEmpty())
        return;
    m_dialogFileName = chosen;
    placeCheckedFile(chosen, target);
}

void TextWindow::placeCheckedFile(const QString& path, QLineEdit* target)
{
    const Platform& platform = m_windows.platform();
    BusyGuard busy(platform.busy, this);
    if (const FileError error = platform.files.checkReadable(path)) {
        platform.messages.show(this, fileErrorMessage(error));
        return;
    }
    target->setText(path);
    updateConcordanceState();
}

void TextWindow::openStartingTexts()
{
    const StartingTexts texts = m_windows.takeStartingTexts();
    if (!texts.latinPath.isEmpty()) {
        // The open dialog proposes it next, as after browsing for it.
        m_dialogFileName = texts.latinPath;
        placeCheckedFile(texts.latinPath, m_latinPathEdit);
    }
    if (!texts.frenchPath.isEmpty())
        placeCheckedFile(texts.frenchPath, m_frenchPathEdit);
    m_latinPathEdit->setFocus();
}

void TextWindow::onLatinPathChanged()
{
    m_windows.session().setLatinPath(m_latinPathEdit->text());
    updateConcordanceState();
}

void TextWindow::onFrenchPathChanged()
{
    m_windows.session().setFrenchPath(m_frenchPathEdit->text());
    updateConcordanceState();
}

void TextWindow::onTitleChanged() { m_windows.session().setTitle(m_titleEdit->text()); }

void TextWindow::updateConcordanceState() { m_concordanceAction->setEnabled(!m_latinPathEdit->text().isEmpty()); }

void TextWindow::onConcordanceTriggered()
{
    BusyGuard busy(m_windows.platform().busy, this);
    // A window already loaded is only brought forward: its Latin text is not read again.
    if (SearchWindow* search = m_windows.searchWindow())
        WindowDirectory::present(search);
}

void TextWindow::onAboutTriggered() { WindowDirectory::present(m_windows.aboutBox()); }

void TextWindow::onQuitTriggered() { m_windows.quit(); }

} // namespace quorvex
