// Linked into every test and picture driver: the program's modules (sound,
// history database, charts) are loaded from the build's program folder, as
// the program loads them from its own.
#include "library/modules.h"

namespace {

const bool kModulesFromDist = [] {
    SetModuleFolder(QStringLiteral(VELMORA_DIST_DIR));
    return true;
}();

} // namespace
