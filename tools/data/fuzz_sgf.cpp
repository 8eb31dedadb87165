// libFuzzer entry points (built with -DVELMORA_FUZZ=ON and clang):
// fuzz_sgf feeds bytes to the SGF reader alone, fuzz_source to the whole
// source pipeline (reader, conventions, checks).
#include "sgf.h"

#ifdef VELMORA_FUZZ_SOURCE
#include "source.h"

#include "rules/outcome.h"
#endif

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
#ifdef VELMORA_FUZZ_SOURCE
    static const bool ready = [] {
        InitOutcomeTable();
        return true;
    }();
    (void)ready;
    std::vector<SourceProblem> out;
    std::vector<Diagnostic> diags;
    ProblemsFromSource(QByteArray(text.data(), static_cast<qsizetype>(text.size())), DataSet::Abc,
                       QStringLiteral("fuzz.sgf"), out, diags);
#else
    std::vector<sgf::Tree> trees;
    sgf::Error error;
    sgf::Parse(text, trees, error);
#endif
    return 0;
}
