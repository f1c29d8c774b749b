#pragma once

#include <cstdint>

namespace Uconvers {

// The x87 unit's precision control (bits 8-9 of its control word): the
// significand width that every x87 operation rounds to, whatever the type.
enum class X87Precision : std::uint16_t {
    Single = 0x0000,    // 24 bits
    Double = 0x0200,    // 53 bits
    Extended = 0x0300,  // 64 bits
};

inline std::uint16_t ReadX87ControlWord() {
    std::uint16_t word = 0;
    __asm__ volatile("fnstcw %0" : "=m"(word));
    return word;
}

inline void WriteX87ControlWord(std::uint16_t word) {
    __asm__ volatile("fldcw %0" : : "m"(word));
}

inline X87Precision CurrentX87Precision() {
    return static_cast<X87Precision>(ReadX87ControlWord() & 0x0300);
}

inline void SetX87Precision(X87Precision precision) {
    WriteX87ControlWord(
        static_cast<std::uint16_t>((ReadX87ControlWord() & ~0x0300) | static_cast<int>(precision)));
}

// Runs its scope at 64-bit precision and gives the unit back as it was. A
// foreign DLL or a thread created by one may leave the unit at 53 bits (the
// Windows default outside the main thread of a MinGW program), and the
// extended arithmetic would then round like double without a sign.
class ExtendedPrecisionScope {
public:
    ExtendedPrecisionScope() : m_saved(ReadX87ControlWord()) {
        SetX87Precision(X87Precision::Extended);
    }
    ~ExtendedPrecisionScope() { WriteX87ControlWord(m_saved); }
    ExtendedPrecisionScope(const ExtendedPrecisionScope&) = delete;
    ExtendedPrecisionScope& operator=(const ExtendedPrecisionScope&) = delete;

private:
    std::uint16_t m_saved;
};

}  // namespace Uconvers
