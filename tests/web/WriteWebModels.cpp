// Writes the documents that the native RTF reader makes of the worksheets of
// the web corpus (each subject and answer key) and of the RTF files named
// after it, in their 16-bit form, for the web page's tests to compare with
// what the page's WebAssembly reader makes of the same bytes.
// Usage: fiche_web_models OUT CORPUS FILE...; OUT holds a count, then for
// each document its number of units and the units, little-endian.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "Ufiche/rtf/RtfModelCodec.h"
#include "Ufiche/rtf/RtfReader.h"

namespace {

void WriteNumber(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUT CORPUS FILE...\n", argv[0]);
        return 1;
    }
    std::vector<std::string> inputs;
    std::ifstream corpus(argv[2], std::ios::binary);
    std::string line;
    for (int number = 0; std::getline(corpus, line); ++number) {
        if (number % 4 == 2 || number % 4 == 3) {  // the subject, then the answer key
            inputs.push_back(line);
        }
    }
    for (int i = 3; i < argc; ++i) {
        std::ifstream file(argv[i], std::ios::binary);
        inputs.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    std::string out;
    WriteNumber(out, static_cast<std::uint32_t>(inputs.size()));
    for (const std::string& input : inputs) {
        const std::u16string units = Ufiche::EncodeRtfDocument(Ufiche::ReadRtf(input));
        WriteNumber(out, static_cast<std::uint32_t>(units.size()));
        for (const char16_t unit : units) {
            out += static_cast<char>(unit & 0xFF);
            out += static_cast<char>(unit >> 8);
        }
    }
    std::ofstream(argv[1], std::ios::binary) << out;
    return 0;
}
