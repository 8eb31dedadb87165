// The character set of the process: every text we hand to the system (window
// titles, file names) is UTF-8.
#pragma once

// Call before the application object exists. When the environment names no
// UTF-8 locale (the POSIX locale of a fresh machine or container), switches
// the character type to C.UTF-8 so that the window system gets the titles'
// full-width characters, also in the legacy title property. Returns whether
// it had to switch.
bool EnsureUtf8Locale();
