#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

namespace ktv::fuzz {

// Stops the run with a message when a property the fuzzer checks does not hold.
inline void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "property violated: %s\n", what);
        std::abort();
    }
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
