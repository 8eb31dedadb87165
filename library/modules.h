// Parts of the program kept in modules of their own beside the executable
// (lib<name>.so in the program folder) and loaded when first needed: the
// sound back end, the attempt history's database, the progress charts. Each
// brings large libraries that the menu never needs, so the program starts
// without them.
#pragma once

#include <QString>
#include <QtGlobal>

// Where modules are looked for: the program's own folder unless redirected
// (tests point it at the build's program folder).
QString ModuleFolder();
void SetModuleFolder(const QString& folder);

// The file a module named `name` is loaded from ("velmora_sound" ->
// ".../libvelmora_sound.so").
QString ModuleFilePath(const QString& name);

// Loads module `name` from the module folder (once; it stays loaded) and
// returns its entry point `entry`, or nullptr with the reason in words for
// the user in `error`. A failure is remembered per file: asking again costs
// nothing until the folder changes.
QFunctionPointer ModuleEntry(const QString& name, const char* entry, QString* error = nullptr);
