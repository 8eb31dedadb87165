// Completing a problem's source tree from the solver's proof: every correct
// first move, White's refutation of the plausible wrong ones, each line
// played to a settled position with its leaf labelled.
#pragma once

#include <string>

namespace velsolver {

struct GrowOptions {
    int limitMs = 10000;   // per problem
    int maxWrongMoves = 6; // wrong first moves added at most
    int maxLineMoves = 24; // moves of one added line
};

// Grows every game tree of an SGF text. Returns false with `error` set when
// the text cannot be read; problems the solver cannot settle are written back
// unchanged and named in `notes`.
bool GrowSgf(const std::string& text, const GrowOptions& options, std::string& out,
             std::string& notes, std::string& error);

} // namespace velsolver
