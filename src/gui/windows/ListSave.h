#pragma once
// The writing of one of the list's files under a name the user chose, shared by the save and
// the export: a text of the search is never written over, an existing file is replaced only
// when the user agrees and only once the new one is complete, a file past a gigabyte is asked
// about first, the progress shows with a cancel, and every outcome is told in French.

#include "output/ResultFile.h"

#include <QString>

#include <functional>
#include <string>

class QWidget;

namespace quorvex {

class Session;
struct Platform;

// Writes the file at `path` with the controls of the save; its failures as values.
using ListFileWriter = std::function<FileError(const std::string& path, const SaveControl& control)>;

// true when the file was written (the list's current cell then left as reading every row
// leaves it).
bool writeListFile(QWidget* parent, const Platform& platform, Session& session, const QString& name,
                   const ListFileWriter& write);

} // namespace quorvex
