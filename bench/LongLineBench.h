#pragma once

#include <QString>

// One 20 MB line: load it, then repaint, add an item and re-test the window as a user would;
// each against the same action on a list of short items in the same run.
void benchLongLine(const QString &folder);
