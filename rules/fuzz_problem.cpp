// libFuzzer entry point (built with -DVELMORA_FUZZ=ON and clang): one problem
// block through the way every play window takes it: decoding with its tree
// checks, the minimax over the tree, the positions along its lines and the
// encoding back into a block.
#include "library/problem.h"
#include "rules/outcome.h"
#include "rules/rules.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        InitOutcomeTable();
        return true;
    }();
    (void)ready;
    const QByteArray block(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Problem p;
    QString error;
    if (!DecodeProblem(block, p, &error)) return 0;

    // A decoded problem encodes into a block that decodes again.
    Problem again;
    if (!DecodeProblem(EncodeProblem(p), again)) std::abort();

    CalcAllResults(p);
    (void)ListReplNodes(p);
    // The position at every node, as the windows set it up.
    for (int node = -1; node < p.hands; ++node) {
        const CurrentPosition pos = SetUpNode(p, node < 0 ? kRoot : node);
        for (const ChildInfo& c : pos.children)
            (void)OutcomeText(1, c.result);
        (void)JudgeResult(NodeResult(p, kRoot), pos.result);
    }
    return 0;
}
