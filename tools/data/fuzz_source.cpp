// libFuzzer entry point (built with -DVELMORA_FUZZ=ON and clang): feeds bytes
// to the whole source pipeline (reader, conventions, checks).
#include "source.h"

#include "rules/outcome.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    static const bool ready = [] {
        InitOutcomeTable();
        return true;
    }();
    (void)ready;
    std::vector<SourceProblem> out;
    std::vector<Diagnostic> diags;
    ProblemsFromSource(QByteArray(text.data(), static_cast<qsizetype>(text.size())), DataSet::Abc,
                       QStringLiteral("fuzz.sgf"), out, diags);
    return 0;
}
