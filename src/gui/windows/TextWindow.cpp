#include "windows/TextWindow.h"

#include "windows/SearchWindow.h"
#include "text/TextFile.h"
#include "platform/BusyPointer.h"
#include "platform/FileDialogs.h"
#include "platform/FileMessages.h"
#include "platform/MessageBoxes.h"
#include "platform/TextCodec.h"
#include "look/WindowLook.h"
#include "look/Twips.h"
#include "app/WindowManager.h"
#include "windows/AboutBox.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace quorvex {

namespace {

const QString kTextFilter = QStringLiteral("Fichiers Texte (*.TXT)|*.TXT");

// Opens the file for reading and closes it again; its content is not read here.
FileError checkReadable(const std::string& path)
{
    FileError error;
    error.path = path;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error.kind = FileErrorKind::IsDirectory;
        return error;
    }
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file) {
        std::fclose(file);
        return {};
    }
    const int err = errno;
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        error.kind = FileErrorKind::NotFound;
        break;
    case EACCES:
    case EPERM:
        error.kind = FileErrorKind::AccessDenied;
        break;
    case EFBIG:
    case EOVERFLOW:
    case ENOMEM:
        error.kind = FileErrorKind::TooLarge;
        break;
    default:
        error.kind = FileErrorKind::ReadFailed;
        error.detail = err ? std::strerror(err) : std::string();
        break;
    }
    return error;
}

} // namespace

TextWindow::TextWindow(WindowManager& forms) : m_forms(forms)
{
    setObjectName(QStringLiteral("frmtexte"));
    setWindowTitle(applicationTitle());
    buildControls();
    buildMenus();
    appliquer_regle();
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

    Frame3 = addFrame(client, QStringLiteral("Frame3"),
                      QStringLiteral("Titre - Référence(s) pour la recherche :"),
                      twipsRect(360, 840, 8415, 735), 11.25);
    References = textBox(Frame3, "References", twipsRect(120, 360, 8175, 285));

    Frame1 = addFrame(client, QStringLiteral("Frame1"), QStringLiteral("Ouvrir un texte latin : "),
                      twipsRect(360, 1680, 8415, 855), 11.25);
    Text_latin = textBox(Frame1, "Text_latin", twipsRect(240, 360, 6495, 285));
    Ouvrir_latin = button(Frame1, "Ouvrir_latin", twipsRect(6960, 290, 1095, 375));

    Frame2 = addFrame(client, QStringLiteral("Frame2"),
                      QStringLiteral("Ouvrir un texte français :  "),
                      twipsRect(360, 2640, 8415, 855), 11.25);
    Ouvrir_francais = button(Frame2, "Ouvrir_francais", twipsRect(6960, 290, 1095, 375));
    Text_francais = textBox(Frame2, "Text_francais", twipsRect(240, 360, 6495, 285));

    setTabOrder(Text_latin, Ouvrir_latin);
    setTabOrder(Ouvrir_latin, Ouvrir_francais);
    setTabOrder(Ouvrir_francais, Text_francais);
    setTabOrder(Text_francais, References);
    Text_latin->setFocus();

    connect(Ouvrir_latin, &QPushButton::clicked, this, &TextWindow::Ouvrir_latin_Click);
    connect(Ouvrir_francais, &QPushButton::clicked, this, &TextWindow::Ouvrir_francais_Click);
    connect(Text_latin, &QLineEdit::textChanged, this, &TextWindow::Text_latin_Change);
    connect(Text_francais, &QLineEdit::textChanged, this, &TextWindow::Text_francais_Change);
}

void TextWindow::buildMenus()
{
    QMenu* fichier = addMenu(menuBar(), QStringLiteral("&Fichier"), "fichier");
    open_latin = addMenuItem(fichier, QStringLiteral("&Ouvrir un texte latin"), "open_latin");
    open_francais =
        addMenuItem(fichier, QStringLiteral("&Ouvrir un texte français"), "open_francais");
    quitter = addMenuItem(fichier, QStringLiteral("&Quitter"), "quitter");
    QMenu* application = addMenu(menuBar(), QStringLiteral("&Application"), "application");
    concordance = addMenuItem(application, QStringLiteral("&Concordance"), "concordance");
    QMenu* aide = addMenu(menuBar(), QStringLiteral("&Aide"), "aide");
    about = addMenuItem(aide, QStringLiteral("&A propos de"), "about");

    connect(open_latin, &QAction::triggered, this, &TextWindow::open_latin_Click);
    connect(open_francais, &QAction::triggered, this, &TextWindow::open_francais_Click);
    connect(quitter, &QAction::triggered, this, &TextWindow::quitter_Click);
    connect(concordance, &QAction::triggered, this, &TextWindow::concordance_Click);
    connect(about, &QAction::triggered, this, &TextWindow::about_Click);
}

bool TextWindow::Form_Load() { return true; }

QString TextWindow::latinPath() const { return Text_latin->text(); }
QString TextWindow::frenchPath() const { return Text_francais->text(); }
QString TextWindow::referencesText() const { return References->text(); }

void TextWindow::Ouvrir_latin_Click() { parcourir(Text_latin); }

void TextWindow::Ouvrir_francais_Click() { parcourir(Text_francais); }

void TextWindow::parcourir(QLineEdit* target)
{
    const Platform& platform = m_forms.platform();
    const QString chosen = platform.fileDialogs->showOpen(this, kTextFilter, m_dialogFileName);
    if (chosen.isEmpty())
        return;
    m_dialogFileName = chosen;

    BusyGuard busy(*platform.busy, this);
    if (const FileError error = checkReadable(toPath(chosen))) {
        // The box keeps what it held.
        platform.messages->show(this, fileErrorMessage(error));
        return;
    }
    target->setText(chosen);
    appliquer_regle();
}

void TextWindow::Text_latin_Change() { appliquer_regle(); }

void TextWindow::Text_francais_Change() { appliquer_regle(); }

void TextWindow::appliquer_regle() { concordance->setEnabled(!Text_latin->text().isEmpty()); }

void TextWindow::concordance_Click()
{
    BusyGuard busy(*m_forms.platform().busy, this);
    // A window already loaded is only brought forward: its Latin text is not read again.
    if (SearchWindow* search = m_forms.contexte())
        WindowManager::present(search);
}

void TextWindow::about_Click() { WindowManager::present(m_forms.about()); }

void TextWindow::quitter_Click() { m_forms.quit(); }

void TextWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    m_forms.quit();
}

} // namespace quorvex
