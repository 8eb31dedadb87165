// One running copy per program folder: a lock file beside the data.
#pragma once

#include <QString>

// Takes the program's lock in `folder`. False when another running copy holds
// it. A lock left behind by a process that no longer runs is taken back.
// When the folder cannot hold a lock file, a per-user lock named after the
// folder is used instead.
bool AcquireInstanceLock(const QString& folder);
// Gives the lock back (also done when the process ends normally).
void ReleaseInstanceLock();
// The lock file name in the program folder.
inline constexpr const char* kInstanceLockName = "velmora.lock";
