#include "Ufiche/document/SheetSet.h"

#include <string_view>

#include "RichText/RtfWriter.h"
#include "Ufiche/document/RtfHeader.h"
#include "Ufiche/generation/SheetCode.h"

namespace Ufiche {
namespace {

// What each later sheet opens with: "\pard\plain" gives back the defaults
// that the prologue's "\pard\f0" starts the first sheet with (RTF's 12-point
// size, no bold, no highlight, out of any table), then a page break. Every
// generated body ends its last line with "\par", so the break opens the next
// sheet's heading. (A "\pagebb" would not do: paragraph properties carry on
// to the following paragraphs until a "\pard", and most lines have none.)
constexpr std::string_view kNextSheet = "\\pard\\plain\\page\\f0 ";

// The document formatting words go before the body's first paragraph: the
// prologue's last words ("\viewkind4\uc1\pard\f0 ") already start the body.
constexpr std::string_view kBodyStart = "\\viewkind4";

// The body of a generated document: what lies between its prologue and its
// closing "}". A document that does not start with the prologue (none of the
// generators writes one) keeps everything after its first "{", so that no
// text of it is lost.
std::string_view Body(std::string_view document) {
    if (document.starts_with(RtfHeader)) {
        document.remove_prefix(RtfHeader.size());
    } else if (const auto open = document.find('{'); open != std::string_view::npos) {
        document.remove_prefix(open + 1);
    }
    if (document.ends_with('}')) {
        document.remove_suffix(1);
    }
    return document;
}

}  // namespace

SheetSet BuildSheetSet(Uconvers::QuantityKind kind, const WorksheetSettings& settings,
                       std::uint32_t firstCode, int count) {
    SheetSet set;
    for (int i = 0; i < count; ++i) {
        const std::uint32_t code = SheetCodeAfter(firstCode, static_cast<std::uint32_t>(i));
        GeneratedWorksheet sheet = BuildWorksheetOfCode(kind, settings, code, true);
        set.Codes.push_back(code);
        set.Subjects.push_back(std::move(sheet.Subject));
        set.AnswerKeys.push_back(std::move(sheet.AnswerKey));
    }
    return set;
}

std::string JoinSheetDocuments(const std::vector<std::string>& documents,
                               const std::optional<RichText::RtfPage>& page) {
    const std::string_view header = RtfHeader;
    const std::size_t bodyStart = header.find(kBodyStart);
    std::string joined(header.substr(0, bodyStart));
    if (page) {
        RichText::AppendPageWords(*page, joined);
    }
    joined += header.substr(bodyStart);
    for (std::size_t i = 0; i < documents.size(); ++i) {
        if (i > 0) {
            joined += kNextSheet;
        }
        joined += Body(documents[i]);
    }
    joined += '}';
    return joined;
}

}  // namespace Ufiche
