#pragma once
// The two print commands of the windows: the attestation list of the search window and the
// context of the viewer. Each shows the print-setup dialog (cancelling it still prints, on
// the printer as it was), lays the printout out, plays it on the current printer under the
// window's busy pointer with a progress that counts the pages and can stop them, and reports
// a failure in a French message box. Printing into a PDF file (no printer installed, or the
// file output chosen) asks for the file every time, proposing a name made of the title, else
// the searched form, in the folder of the last PDF; a box names the file once written.

#include "platform/Platform.h"

#include <QString>

#include <string>

class QWidget;

namespace quorvex {

class Session;

// Prints the session's list; leaves its current cell on the last row, column 1, as a
// row-by-row reading of the cells does.
void printAttestations(QWidget* window, const Platform& platform, Session& session);

// latin and french: the panes' passages, Windows-1252, printed with every line break as
// CR LF (so a French line break counts as two characters for the line rule). form: the form the viewer
// shows (Windows-1252), for the name of a PDF when there is no title.
void printContext(QWidget* window, const Platform& platform, const Session& session,
                  const std::string& latinCp1252, const std::string& frenchCp1252,
                  const std::string& formCp1252);

// The name proposed for a PDF of the printout: the title, else the form, else "quorvex",
// plus ".pdf", every character a file name cannot hold replaced by "_".
QString pdfFileName(const QString& title, const QString& form);

} // namespace quorvex
