#pragma once
// The five windows of the program, each existing at most once and reached by name.
// Loading a window constructs it and runs its load handler; opening loads it if needed,
// then shows it modeless and brings it forward; closing unloads (destroys) it.

#include "platform/Platform.h"
#include "viewer/ViewerState.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace quorvex {

class frmSplash;
class frmtexte;
class Frmcontexte;
class frmaff_contexte;
class frmAbout;

class Forms : public QObject {
    Q_OBJECT
public:
    explicit Forms(const Platform& platform, QObject* parent = nullptr);
    ~Forms() override;

    const Platform& platform() const { return m_platform; }

    // The context viewer's state outlives its window: it lasts for the run.
    ViewerState& viewerState() { return m_viewerState; }

    // Loaded window, loading it first when needed. nullptr when its load failed (the load
    // handler has then told the user why).
    frmSplash* splash();
    frmtexte* texte();
    Frmcontexte* contexte();
    frmaff_contexte* affContexte();
    frmAbout* about();

    // The window if loaded, without loading it.
    frmSplash* splashIfLoaded() const;
    frmtexte* texteIfLoaded() const;
    Frmcontexte* contexteIfLoaded() const;
    frmaff_contexte* affContexteIfLoaded() const;
    frmAbout* aboutIfLoaded() const;

    // Show modeless and bring forward (the window must be loaded).
    static void present(QWidget* window);

    // Destroys a loaded window; its next use loads it anew. Called by each window's close.
    void unload(QWidget* window);

    // Ends the program at once: every window goes, without any unload processing.
    void quit();

signals:
    void quitRequested();

private:
    Platform m_platform;
    QPointer<frmSplash> m_splash;
    QPointer<frmtexte> m_texte;
    QPointer<Frmcontexte> m_contexte;
    QPointer<frmaff_contexte> m_affContexte;
    QPointer<frmAbout> m_about;
    ViewerState m_viewerState;
};

} // namespace quorvex
