#pragma once

#include <string_view>

namespace RichText {

class RtfInterpreter;
struct RtfToken;

using RtfControlWordHandler = void (*)(RtfInterpreter&, const RtfToken&);

// The handler of a control word the reader understands, or nothing for any
// other word, which the reader then ignores.
RtfControlWordHandler FindControlWord(std::string_view name);

}  // namespace RichText
