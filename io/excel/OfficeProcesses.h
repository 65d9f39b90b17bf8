#pragma once

#include <QString>

// The offices that run on this machine, as the process table shows them.
namespace OfficeProcesses {

// True when an office of this user runs with the profile in `profileFolder` (or, with the
// same folder as `defaultProfileFolder`, with no profile named on its command line). An
// office started for that profile now would hand its arguments to that one and end: the
// office that then answers is the user's, not the starter's.
bool runsWithProfile(const QString &profileFolder, const QString &defaultProfileFolder);

} // namespace OfficeProcesses
