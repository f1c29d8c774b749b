#include "Ufiche/generation/FormatNumber.h"

#include "Commune/Commune.h"
#include "Ufiche/generation/FixedPoint.h"

namespace Ufiche {

std::string FormatNumber(extended value) {
    char text[kFixedPointTextCapacity];
    const std::size_t length = WriteFixedPointText(value, text);
    if (length == 0) {
        return Commune::GroupDigits(Commune::NormalizeNumber(ExpandedFixedPointText(value)));
    }
    return Commune::NormalizeAndGroup({text, length});
}

std::string FormatConverted(Uconvers::QuantityKind kind, Uconvers::UnitIndex source,
                            Uconvers::UnitIndex target, extended value) {
    return FormatNumber(Uconvers::Convert(kind, source, target, value));
}

std::string FormatConvertedLong(Uconvers::UnitIndex source, Uconvers::UnitIndex target,
                                extended value) {
    return FormatNumber(Uconvers::ConvertLong(source, target, value));
}

std::string FormatConvertedSurf(Uconvers::UnitIndex source, Uconvers::UnitIndex target,
                                extended value) {
    return FormatNumber(Uconvers::ConvertSurf(source, target, value));
}

std::string FormatConvertedVol(Uconvers::UnitIndex source, Uconvers::UnitIndex target,
                               extended value) {
    return FormatNumber(Uconvers::ConvertVol(source, target, value));
}

std::string FormatConvertedCapa(Uconvers::UnitIndex source, Uconvers::UnitIndex target,
                                extended value) {
    return FormatNumber(Uconvers::ConvertCapa(source, target, value));
}

std::string FormatConvertedMass(Uconvers::UnitIndex source, Uconvers::UnitIndex target,
                                extended value) {
    return FormatNumber(Uconvers::ConvertMass(source, target, value));
}

std::string WithDecimalMark(std::string numberText, DecimalMark mark) {
    return mark == DecimalMark::Comma ? Commune::PointToComma(numberText) : numberText;
}

}  // namespace Ufiche
