#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ktv::fuzz {

// Stops the run with a message: a property the fuzzer checks does not hold.
[[noreturn]] inline void Violated(const char* what) {
    std::fprintf(stderr, "property violated: %s\n", what);
    std::abort();
}

inline void Check(bool condition, const char* what) {
    if (!condition) {
        Violated(what);
    }
}

// The lines of a text: each ends at CR LF or at a lone CR. A plain oracle,
// written apart from the product's reader, for the fuzzers to compare with.
inline std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t cr = text.find('\r', start);
        if (cr == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, cr - start));
        start = cr + 1 < text.size() && text[cr + 1] == '\n' ? cr + 2 : cr + 1;
    }
    return lines;
}

// Splits one input into two texts at the first "\x00\x00" (or all in the
// first when there is none): for routines that read two files.
inline std::pair<std::string, std::string> SplitInTwo(const std::uint8_t* data, std::size_t size) {
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = all.find(std::string_view("\0\0", 2));
    if (cut == std::string_view::npos) {
        return {std::string(all), std::string()};
    }
    return {std::string(all.substr(0, cut)), std::string(all.substr(cut + 2))};
}

}  // namespace ktv::fuzz
