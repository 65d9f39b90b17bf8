#pragma once

#include <QString>

// Spreadsheet import and export through the window's commands, against a headless Calc with
// a private profile.
void benchCalc(const QString &folder);

// Both spreadsheet commands where users are: a visible Calc (in an Xvfb server of its own),
// cold (the office has to start first) and warm (it runs already).
void benchVisibleCalc(const QString &folder);
