#pragma once
// The two print commands of the windows: the attestation list of the search window and the
// context of the viewer. Each shows the print-setup dialog (cancelling it still prints, on
// the printer as it was), lays the printout out, plays it on the current printer under the
// window's busy pointer, and reports a failure in a French message box. With no printer
// installed the current printer is a PDF file named after the title, in the Latin text's
// folder; a PDF file the user did not confirm is not replaced without asking, and a box
// names the file once written.

#include "platform/Platform.h"

#include <string>

class QWidget;

namespace quorvex {

class Session;

// Prints the session's list; leaves its current cell on the last row, column 1, as a
// row-by-row reading of the cells does.
void printAttestations(QWidget* window, const Platform& platform, Session& session);

// latin and french: the panes' passages, Windows-1252, every line break as CR LF (so a
// French line break counts as two characters for the line rule).
void printContext(QWidget* window, const Platform& platform, const Session& session,
                  const std::string& latinCp1252, const std::string& frenchCp1252);

} // namespace quorvex
