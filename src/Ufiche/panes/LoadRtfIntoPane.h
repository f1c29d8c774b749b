#pragma once

#include <string>

namespace platform {
class TRxRichEdit;
}

namespace Ufiche {

// Makes a complete RTF document (Windows-1252 bytes, prologue to closing "}")
// the content of a pane that was emptied before: it is read in place of the
// pane's selection, the pane is left in rich-text mode with its stream mode on
// the selection, the caret at the start, and pending events processed.
void LoadRtfIntoPane(platform::TRxRichEdit& pane, const std::string& document);

// Removes all content of a pane and clears its modified flag.
void EmptyPane(platform::TRxRichEdit& pane);

}  // namespace Ufiche
