#include <string>

#include "FuzzTargets.h"
#include "Ufiche/document/Markup.h"
#include "Ufiche/document/RtfHeader.h"

// A teacher's text pasted into a heading, as the generation pastes it.
int FuzzMarkupToRtf(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string rtf = Ufiche::MarkupToRtf(std::string(Ufiche::RtfHeader) + text);
    // The prologue holds no tag and no control character: it passes whole.
    if (rtf.compare(0, Ufiche::RtfHeader.size(), Ufiche::RtfHeader) != 0) {
        __builtin_trap();
    }
    return 0;
}
