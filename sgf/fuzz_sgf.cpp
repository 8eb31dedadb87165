// libFuzzer entry point (built with -DVELMORA_FUZZ=ON and clang): feeds
// bytes to the SGF reader alone.
#include "sgf/sgf.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<sgf::Tree> trees;
    sgf::Error error;
    sgf::Parse(text, trees, error);
    return 0;
}
