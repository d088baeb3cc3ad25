#pragma once
// The program folder: the folder of the executable. Tests point it elsewhere.

#include <QString>

namespace platform {

QString programFolder();
void setProgramFolder(const QString &folder); // empty restores the executable's folder

// Joins the program folder and a file name.
QString inProgramFolder(const QString &fileName);

} // namespace platform
