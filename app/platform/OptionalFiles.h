#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The optional files (the skin x/o.cjs, the pointer HAND-M.CUR) are looked for in the
// program's own folder first, then in the user's configuration folder (~/.config/tarnwell)
// and then in the system's data folders (/usr/share/tarnwell, ...): a package keeps them
// where Debian keeps such files, and a user can add their own.
namespace OptionalFiles {

// Where `relative` may stand, in the order they are tried.
QStringList candidates(const QString &programFolder, const QString &relative);
// The first of them that `found` accepts; empty for none.
QString find(const QString &programFolder, const QString &relative,
             const std::function<bool(const QString &)> &found);

} // namespace OptionalFiles
