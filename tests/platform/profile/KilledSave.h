#pragma once

// What the kill tests save and how they check a file a killed save left:
// shared by the test that kills a forked child and the one that terminates a
// saving program on Windows.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/profile/ProfileFile.h"

namespace killed_save {

struct SavedKey {
    std::string section;
    std::string key;
};

// The keys one save writes, in its order, over two sections.
inline const std::vector<SavedKey>& SavedKeys() {
    static const std::vector<SavedKey> keys = [] {
        std::vector<SavedKey> list;
        for (const char* key :
             {"FormVersion", "Flags", "ShowCmd", "PixelsPerInch", "MinMaxPos", "NormPos", "Visible",
              "spMaxLigne_Value", "spinterligne_Value", "eTitre1_Text", "eSepar_Text",
              "Combo1_Text", "trbNiveau_Position", "ckbEdite_Checked"}) {
            list.push_back({"TForm1", key});
        }
        for (const char* key : {"Count", "Item0", "Item1", "Item2", "Item3", "Item4"}) {
            list.push_back({"TForm1.Combo1_Items", key});
        }
        return list;
    }();
    return keys;
}

// The value a key takes at one save. Its length changes from save to save, so
// that a torn write would show.
inline std::string ValueAt(int save, const std::string& key) {
    const std::size_t padding = (static_cast<std::size_t>(save) * 37 + key.size() * 11) % 300;
    return std::to_string(save) + ":" + key + ":" + std::string(padding, '#');
}

// The save a value comes from, or -1 when it is no whole value of that key.
inline int SaveOf(const std::string& value, const std::string& key) {
    const std::size_t colon = value.find(':');
    if (colon == std::string::npos || colon == 0 || colon > 6 ||
        !std::all_of(value.begin(), value.begin() + static_cast<long>(colon),
                     [](char c) { return c >= '0' && c <= '9'; })) {
        return -1;
    }
    const int save = std::stoi(value.substr(0, colon));
    return value == ValueAt(save, key) ? save : -1;
}

// Writes save `save` of every key, one write at a time, as a window's save
// does.
inline void SaveKeys(const std::string& path, int save) {
    platform::ProfileFile file(path);
    for (const auto& k : SavedKeys()) {
        file.WriteString(k.section, k.key, ValueAt(save, k.key));
    }
}

// Saves the keys from save `firstSave` on until the process is killed.
// Returns 1, the process's exit status, when a save fails.
inline int SaveKeysUntilKilled(const std::string& path, int firstSave) {
    try {
        for (int save = firstSave;; ++save) {
            SaveKeys(path, save);
        }
    } catch (...) {
        return 1;
    }
}

inline const std::string handWrittenLine = "; r\xE9glages de la fiche\n";

// Checks the file line by line: the hand-written line, then each section and
// each key exactly once, in order, each with a whole value. Returns the save
// each key's value comes from, empty when the file is damaged.
inline std::vector<int> SavesIn(const std::string& content) {
    std::vector<int> saves;
    if (content.compare(0, handWrittenLine.size(), handWrittenLine) != 0) {
        ADD_FAILURE() << "hand-written line lost";
        return {};
    }
    std::size_t at = handWrittenLine.size();
    const auto nextLine = [&](std::string& line) {
        const std::size_t end = content.find("\r\n", at);
        if (end == std::string::npos) {
            return false;
        }
        line = content.substr(at, end - at);
        at = end + 2;
        return true;
    };
    std::string section;
    std::string line;
    for (const auto& k : SavedKeys()) {
        if (k.section != section) {
            section = k.section;
            if (!nextLine(line) || line != "[" + section + "]") {
                ADD_FAILURE() << "expected section " << section << ", found \"" << line << "\"";
                return {};
            }
        }
        const std::string start = k.key + "=";
        if (!nextLine(line) || line.compare(0, start.size(), start) != 0) {
            ADD_FAILURE() << "expected key " << k.key << ", found \"" << line << "\"";
            return {};
        }
        const int save = SaveOf(line.substr(start.size()), k.key);
        if (save < 0) {
            ADD_FAILURE() << "damaged line \"" << line << "\"";
            return {};
        }
        saves.push_back(save);
    }
    if (at != content.size()) {
        ADD_FAILURE() << "unexpected bytes after the last key: \"" << content.substr(at) << "\"";
        return {};
    }
    return saves;
}

}  // namespace killed_save
