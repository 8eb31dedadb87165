// Saving the current player's file from a window.
#pragma once

class QWidget;

// Saves gPlayerRecord to the current player's file. When that fails (a full
// disk, a folder that turned read-only) the player is told why and asked
// whether to try again, so that after making room the record just played is
// not lost; "No" goes on without it. True when the file was saved.
bool SaveCurrentPlayerAsking(QWidget* parent);
