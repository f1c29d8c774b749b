#include "Ufiche/window/settings/FormStorage.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <string>

#include "Commune/StoredText.h"
#include "platform/codepage/Codepage.h"
#include "platform/profile/ProfileFile.h"
#include "platform/profile/ProfileSession.h"

namespace Ufiche {

namespace {

using platform::ProfileSession;

constexpr std::string_view kSection = kSettingsSection;

template <class... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
// Written out for the compilers and tools that do not deduce it yet.
template <class... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

std::string RectText(const QRect& rect) {
    return EncodeFourIntegers(
               {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()})
        .toStdString();
}

std::string SizedKey(std::string_view key, const QSize& screen) {
    return ScreenSizeKey(QString::fromLatin1(key), screen.width(), screen.height()).toStdString();
}

// The screen's pixels per inch and size, as the file records them.
int PixelsPerInch(const QWidget& form) {
    const QScreen* screen = form.screen();
    return screen ? qRound(screen->logicalDotsPerInch()) : 96;
}

QSize ScreenSize(const QWidget& form) {
    const QScreen* screen = form.screen();
    return screen ? screen->geometry().size() : QSize(0, 0);
}

int ReadInteger(const ProfileSession& file, std::string_view section, std::string_view key,
                std::string_view defaultValue) {
    return Commune::DecodeInteger(
        Commune::TrimControls(file.ReadString(section, key, defaultValue)));
}

std::string ItemKey(qsizetype index) {
    return "Item" + std::to_string(index);
}

}  // namespace

TFormStorage::TFormStorage(QWidget& form, StoredPlacement& placement,
                           std::vector<StoredSetting> settings)
    : m_form(form), m_placement(placement), m_settings(std::move(settings)) {}

void TFormStorage::RestoreSettings() {
    m_saved = false;
    const ProfileSession file(platform::ProfileFile(m_iniFileName.toStdString()));
    if (ReadInteger(file, kSection, "FormVersion", "0") >= 0) {
        RestorePlacement(file);
        for (const StoredSetting& setting : m_settings) {
            // One property that cannot be restored does not stop the others.
            try {
                RestoreSetting(file, setting);
            } catch (...) {
            }
        }
    }
    m_restored = true;
}

void TFormStorage::RestoreSetting(const ProfileSession& file, const StoredSetting& setting) {
    const SettingRow& row = *setting.row;
    // The control's current value is the default, so that a missing key
    // leaves it unchanged.
    auto readTrimmed = [&](std::string_view current) {
        return Commune::TrimControls(file.ReadString(kSection, row.Key, current));
    };
    std::visit(
        Overloaded{
            [&](const StoredSetting::Integer& value) {
                const std::string stored = readTrimmed(std::to_string(value.read()));
                value.write(ClampToRow(row, Commune::DecodeInteger(stored)));
            },
            [&](const StoredSetting::Boolean& value) {
                if (const auto flag =
                        Commune::DecodeBoolean(readTrimmed(Commune::EncodeBoolean(value.read())))) {
                    value.write(*flag);
                }
            },
            [&](const StoredSetting::Text& value) {
                value.write(
                    platform::FromWindows1252(readTrimmed(platform::ToWindows1252(value.read()))));
            },
            [&](const StoredSetting::List& list) {
                const std::string section = ListSection(row);
                const int count =
                    std::min(ReadInteger(file, section, "Count", "0"), Commune::kMaxListEntries);
                // An empty or unreadable count leaves the list as it is.
                if (count <= 0) {
                    return;
                }
                QStringList entries;
                for (int i = 0; i < count; ++i) {
                    entries << platform::FromWindows1252(file.ReadString(section, ItemKey(i), ""));
                }
                list.write(entries);
            },
        },
        setting.access);
}

void TFormStorage::RestorePlacement(const ProfileSession& file) {
    const QSize screen = ScreenSize(m_form);
    auto readPosition = [&](std::string_view key, std::string_view defaultValue, bool& found) {
        std::string value = file.ReadString(kSection, SizedKey(key, screen), "");
        if (value.empty()) {
            value = file.ReadString(kSection, key, "");
        }
        found = found || !value.empty();
        return DecodeFourIntegers(value.empty() ? defaultValue : value);
    };
    bool found = false;
    readPosition("MinMaxPos", "0,0,0,0",
                 found);  // Qt places minimized and maximized windows itself
    const auto normal = readPosition("NormPos", RectText(m_form.frameGeometry()), found);
    const int pixelsPerInch =
        ReadInteger(file, kSection, "PixelsPerInch", std::to_string(PixelsPerInch(m_form)));

    std::optional<QRect> outer;
    if (found && pixelsPerInch == PixelsPerInch(m_form)) {
        const int left = normal[0];
        const int top = normal[1];
        const int right = normal[2];
        const int bottom = normal[3];
        if (left < right) {
            // The stored rectangle is the outer one, frame included.
            outer = QRect(left, top, right - left, bottom - top);
        }
    }
    m_placement.Restore(outer, DecodeShowCmd(ReadInteger(file, kSection, "ShowCmd", "0")));
}

void TFormStorage::SaveSettings(bool whileDestroyed) {
    if (!m_restored) {
        return;
    }
    ProfileSession file(platform::ProfileFile(m_iniFileName.toStdString()));
    try {
        SaveAll(file, whileDestroyed);
    } catch (...) {
        // The save stops at the value that cannot be written; the values
        // before it still reach the file.
        file.Commit();
        throw;
    }
    file.Commit();
    m_saved = true;
}

void TFormStorage::SaveAll(ProfileSession& file, bool whileDestroyed) const {
    file.WriteString(kSection, "FormVersion", "0");
    SavePlacement(file, whileDestroyed);
    for (const StoredSetting& setting : m_settings) {
        SaveSetting(file, setting);
    }
}

void TFormStorage::SaveSetting(ProfileSession& file, const StoredSetting& setting) const {
    const SettingRow& row = *setting.row;
    std::visit(Overloaded{
                   [&](const StoredSetting::Integer& value) {
                       file.WriteString(kSection, row.Key, std::to_string(value.read()));
                   },
                   [&](const StoredSetting::Boolean& value) {
                       file.WriteString(kSection, row.Key, Commune::EncodeBoolean(value.read()));
                   },
                   [&](const StoredSetting::Text& value) {
                       file.WriteString(kSection, row.Key,
                                        Commune::EncodeText(platform::ToWindows1252(value.read())));
                   },
                   [&](const StoredSetting::List& list) {
                       const std::string section = ListSection(row);
                       file.EraseSection(section);
                       const QStringList entries = list.read();
                       // An empty list leaves no section behind.
                       if (entries.isEmpty()) {
                           return;
                       }
                       file.WriteString(section, "Count", std::to_string(entries.size()));
                       for (qsizetype i = 0; i < entries.size(); ++i) {
                           file.WriteString(
                               section, ItemKey(i),
                               Commune::EncodeListEntry(platform::ToWindows1252(entries[i])));
                       }
                   },
               },
               setting.access);
}

void TFormStorage::SavePlacement(ProfileSession& file, bool whileDestroyed) const {
    const Qt::WindowStates state = m_form.windowState();
    const bool minimized = (state & Qt::WindowMinimized) != 0;
    const bool maximized = (state & Qt::WindowMaximized) != 0;
    const int flags = minimized && maximized ? 2 : 0;
    const int showCmd = minimized ? 2 : (maximized ? 3 : 1);
    const QSize screen = ScreenSize(m_form);
    // Qt does not report where the window manager puts minimized and
    // maximized windows: the file holds the "not set" position of -1, -1.
    const std::string minMax = EncodeFourIntegers({-1, -1, -1, -1}).toStdString();
    const std::string normal = RectText(m_placement.NormalOuterRect());

    file.WriteString(kSection, "Flags", std::to_string(flags));
    file.WriteString(kSection, "ShowCmd", std::to_string(showCmd));
    file.WriteString(kSection, "PixelsPerInch", std::to_string(PixelsPerInch(m_form)));
    file.WriteString(kSection, SizedKey("MinMaxPos", screen), minMax);
    file.WriteString(kSection, "MinMaxPos", minMax);
    file.WriteString(kSection, SizedKey("NormPos", screen), normal);
    file.WriteString(kSection, "NormPos", normal);
    file.WriteString(kSection, "Visible", whileDestroyed ? "1" : "0");
}

}  // namespace Ufiche
