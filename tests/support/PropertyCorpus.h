#pragma once

#include <cstdint>

#include "Ufiche/generation/Worksheet.h"

// The worksheets that the property tests draw for each kind and level: the
// seed of each, and its settings. The corpus program writes the same ones,
// so that builds for other processors and backends can be compared with
// this one byte for byte.
namespace testsupport {

inline constexpr int kCorpusWorksheetsPerCase = 2000;
inline constexpr int kCorpusQuestions = 40;

inline std::uint32_t CorpusSeed(int index, int level) {
    return static_cast<std::uint32_t>(index * 7919 + level);
}

// Mostly full sheets; every fifth one shorter, so that the slots of the
// questions not asked are seen to stay empty; every sixth with tables.
inline Ufiche::WorksheetSettings CorpusSettings(int index, int level) {
    const int questions = index % 5 == 4 ? 1 + index % kCorpusQuestions : kCorpusQuestions;
    Ufiche::WorksheetSettings settings{level,           questions,      index % 4, "Titre",
                                       "Convertir en ", index % 3 != 0, "- - -"};
    settings.ConversionTables = index % 6 == 1;
    return settings;
}

}  // namespace testsupport
