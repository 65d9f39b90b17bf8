#pragma once

#include <QChar>
#include <QString>

// Paths as the file commands are given them.

// Tidies a joined path: pairs of separators become one; a path that starts with separators
// (a network path) keeps exactly two of them in front.
QString FixDoubleSlashes(const QString &path, QChar separator = u'/');

// True when the path's modification time can be read (a folder counts). Never throws.
bool FileExists(const QString &path);
