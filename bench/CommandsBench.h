#pragma once

#include <QString>

// Each command on its own over the list file at `listPath` (loading, duplicate removal under
// each option, both filters, Clear All Items, the load command, saving, undo and redo), with the
// longest event-loop gap it leaves, against the shell pipeline on the same file.
void benchCommands(const QString &folder, const QString &listPath);
