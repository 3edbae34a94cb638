#include "shell/Forms.h"

#include "concordance/Frmcontexte.h"
#include "shell/frmAbout.h"
#include "shell/frmSplash.h"
#include "shell/frmtexte.h"
#include "viewer/frmaff_contexte.h"

#include <QCoreApplication>
#include <QWidget>

namespace quorvex {

namespace {

// Constructs the window and runs its load handler; a failed load leaves nothing behind.
template <typename W>
W* load(QPointer<W>& slot, Forms& forms)
{
    if (slot)
        return slot;
    auto* window = new W(forms);
    slot = window;
    if (!window->Form_Load()) {
        slot = nullptr;
        delete window;
        return nullptr;
    }
    return window;
}

} // namespace

Forms::Forms(const Platform& platform, QObject* parent) : QObject(parent), m_platform(platform) {}

Forms::~Forms()
{
    delete m_affContexte;
    delete m_contexte;
    delete m_about;
    delete m_splash;
    delete m_texte;
}

frmSplash* Forms::splash() { return load(m_splash, *this); }
frmtexte* Forms::texte() { return load(m_texte, *this); }
Frmcontexte* Forms::contexte() { return load(m_contexte, *this); }
frmaff_contexte* Forms::affContexte() { return load(m_affContexte, *this); }
frmAbout* Forms::about() { return load(m_about, *this); }

frmSplash* Forms::splashIfLoaded() const { return m_splash; }
frmtexte* Forms::texteIfLoaded() const { return m_texte; }
Frmcontexte* Forms::contexteIfLoaded() const { return m_contexte; }
frmaff_contexte* Forms::affContexteIfLoaded() const { return m_affContexte; }
frmAbout* Forms::aboutIfLoaded() const { return m_about; }

void Forms::present(QWidget* window)
{
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

void Forms::unload(QWidget* window)
{
    if (!window)
        return;
    // The viewer works on the search window's grid: it goes with it.
    if (window == m_contexte && m_affContexte)
        unload(m_affContexte);
    if (window == m_splash) m_splash = nullptr;
    else if (window == m_texte) m_texte = nullptr;
    else if (window == m_contexte) m_contexte = nullptr;
    else if (window == m_affContexte) m_affContexte = nullptr;
    else if (window == m_about) m_about = nullptr;
    window->hide();
    window->deleteLater();
}

void Forms::quit()
{
    for (QWidget* w : std::initializer_list<QWidget*>{m_affContexte, m_contexte, m_about, m_splash, m_texte})
        if (w) {
            w->hide();
            w->deleteLater();
        }
    m_affContexte = nullptr;
    m_contexte = nullptr;
    m_about = nullptr;
    m_splash = nullptr;
    m_texte = nullptr;
    emit quitRequested();
}

} // namespace quorvex
