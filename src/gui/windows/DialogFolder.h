#pragma once
// The name a file dialog is opened on. A remembered name whose folder is no longer an
// ordinary folder on disk (gone, or /proc, /sys, /dev...) would open the dialog where it
// could block reading what it lists: the dialog opens in the Latin text's folder instead.

#include <QString>

namespace quorvex {

class FileTest;

QString nameInOrdinaryFolder(FileTest& files, const QString& remembered, const QString& latinPath);

} // namespace quorvex
