#pragma once
// The two print commands of the windows: the attestation list of the search window and the
// context of the viewer. Each shows the print-setup dialog (cancelling it still prints, on
// the printer as it was), lays the printout out, plays it on the current printer under the
// window's busy pointer, and reports a failure in a French message box.

#include "platform/Platform.h"

#include <string>

class QTextEdit;
class QWidget;

namespace quorvex {

class Session;

// Prints the session's list; leaves its current cell on the last row, column 1, as a
// row-by-row reading of the cells does.
void printAttestations(QWidget* window, const Platform& platform, Session& session);

// latin and french: the panes' plain text, Windows-1252, line breaks as CR LF.
void printContext(QWidget* window, const Platform& platform, const std::string& latinCp1252,
                  const std::string& frenchCp1252);

// A pane's plain text in Windows-1252 with CR LF line breaks, as the text files have them,
// so a French line break counts as two characters for the line rule. Non-breaking spaces
// stay what they are.
std::string paneTextCp1252(const QTextEdit& pane);

} // namespace quorvex
