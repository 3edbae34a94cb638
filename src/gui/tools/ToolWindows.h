#pragma once
// The tool windows of the search window's "Outils" menu: each item opens its window (made
// at its first use, brought forward afterwards). They belong to the search window and close
// with it.

class QMainWindow;

namespace quorvex {

class WindowDirectory;

// Connects the menu items found in `searchWindow` by their objectName (formes_lemme, kwic,
// cooccurrents, dispersion, traductions); an item not there is left out.
void installToolWindows(QMainWindow* searchWindow, WindowDirectory& windows);

} // namespace quorvex
