// One running copy per program folder: a lock file beside the data.
#pragma once

#include <QString>

// Takes the program's lock in `folder`: flock on the lock file, which the
// kernel releases whenever the holder ends, so a lock left by a killed copy
// (or one written on another host) never blocks a start. False when another
// running copy holds it, or when an entry of that name cannot be opened and
// is younger than a minute (older ones are removed as stale). When the folder
// cannot hold a lock file, a per-user lock named after the folder is used.
bool AcquireInstanceLock(const QString& folder);
// Gives the lock back (also done when the process ends normally).
void ReleaseInstanceLock();
// The lock file name in the program folder.
inline constexpr const char* kInstanceLockName = "velmora.lock";
