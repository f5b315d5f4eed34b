#include <string_view>

#include "FuzzSupport.h"
#include "platform/Errors.h"
#include "platform/KeyText.h"

// Any text either parses into strokes or throws InvalidArgument; parsing a
// text made of the strokes' own descriptions never crashes either.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const auto strokes = ktv::ParseKeyText(text);
        for (const ktv::KeyStroke& stroke : strokes) {
            ktv::fuzz::Check(!ktv::DescribeKeyStroke(stroke).empty(), "empty description");
        }
    } catch (const ktv::InvalidArgument&) {
        // The documented failure.
    }
    return 0;
}
