#pragma once

#include <QString>

// Facts about the program's own file, which names the window title, the version window's model
// line and the settings file.
namespace ProgramFile {

// The base name of a program file: its name without folder and without a ".exe" ending.
// "C:/Apps/abc.exe" and "/opt/bus/abc" both give "abc".
QString baseName(const QString &programFilePath);

// The running program's base name.
QString baseName();

// The folder that holds the running program.
QString folder();

} // namespace ProgramFile
