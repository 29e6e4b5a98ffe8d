#pragma once
// The application title: the window title of the main window and of every message box.

#include <QString>

namespace marvolt {

// The executable's file name without its folder and without everything from its first
// ".", every character after the first in lower case ("C:\\X\\MARVOLT.EXE" -> "Marvolt").
QString applicationTitle(const QString& executablePath);

// The title of the running program.
QString applicationTitle();

}  // namespace marvolt
