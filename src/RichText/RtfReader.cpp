#include "RichText/RtfReader.h"

#include "RichText/RtfInterpreter.h"

namespace RichText {

bool LooksLikeRtf(std::string_view data) {
    const auto start = data.find_first_not_of(" \t\r\n");
    return start != std::string_view::npos && data.substr(start).starts_with("{\\rtf");
}

RtfDocument ReadRtf(std::string_view rtf) {
    return RtfInterpreter(rtf).Read();
}

}  // namespace RichText
