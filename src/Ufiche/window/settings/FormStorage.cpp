#include "Ufiche/window/settings/FormStorage.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <optional>

#include "Ufiche/window/OuterGeometry.h"
#include "Ufiche/window/settings/StoredValues.h"
#include "platform/codepage/Codepage.h"
#include "platform/profile/ProfileFile.h"
#include "platform/profile/ProfileSession.h"

namespace Ufiche {

namespace {

using platform::ProfileSession;
using Ufiche::DecodeFourIntegers;
using Ufiche::DecodeInteger;

// A list longer than this in a settings file is damage, not a teacher's
// list: reading it whole would hold the window for minutes.
constexpr int kMaxListEntries = 1000;

template <class... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
// Written out for the compilers and tools that do not deduce it yet.
template <class... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

// The file holds Windows-1252 text.
QString Read(const ProfileSession& file, const QString& section, const QString& key,
             const QString& defaultValue) {
    return platform::FromWindows1252(file.ReadString(platform::ToWindows1252(section),
                                                     platform::ToWindows1252(key),
                                                     platform::ToWindows1252(defaultValue)));
}

void Write(ProfileSession& file, const QString& section, const QString& key, const QString& value) {
    file.WriteString(platform::ToWindows1252(section), platform::ToWindows1252(key),
                     platform::ToWindows1252(value));
}

QString RectText(const QRect& rect) {
    return Ufiche::EncodeFourIntegers(
        {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()});
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

}  // namespace

TFormStorage::TFormStorage(QWidget& form, QString section, std::vector<StoredSetting> settings)
    : m_form(form),
      m_outer(new OuterGeometry(form)),
      m_section(std::move(section)),
      m_settings(std::move(settings)) {}

QString TFormStorage::ListSection(const StoredSetting& setting) const {
    return m_section + "." + setting.key;
}

void TFormStorage::RestoreSettings() {
    m_saved = false;
    const ProfileSession file(platform::ProfileFile(m_iniFileName.toStdString()));
    if (DecodeInteger(Read(file, m_section, "FormVersion", "0").trimmed()) >= 0) {
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
    // The control's current value is the default, so that a missing key
    // leaves it unchanged.
    auto readTrimmed = [&](const QString& current) {
        return Ufiche::TrimControls(Read(file, m_section, setting.key, current));
    };
    std::visit(
        Overloaded{
            [&](const StoredSetting::Integer& value) {
                value.write(DecodeInteger(readTrimmed(QString::number(value.read()))));
            },
            [&](const StoredSetting::Boolean& value) {
                const auto flag =
                    Ufiche::DecodeBoolean(readTrimmed(Ufiche::EncodeBoolean(value.read())));
                if (flag) {
                    value.write(*flag);
                }
            },
            [&](const StoredSetting::Text& value) { value.write(readTrimmed(value.read())); },
            [&](const StoredSetting::List& list) {
                const QString section = ListSection(setting);
                const int count =
                    std::min(DecodeInteger(Ufiche::TrimControls(Read(file, section, "Count", "0"))),
                             kMaxListEntries);
                // An empty or unreadable count leaves the list as it is.
                if (count <= 0) {
                    return;
                }
                QStringList entries;
                for (int i = 0; i < count; ++i) {
                    entries << Read(file, section, QStringLiteral("Item%1").arg(i), "");
                }
                list.write(entries);
            },
        },
        setting.access);
}

void TFormStorage::RestorePlacement(const ProfileSession& file) {
    const QSize screen = ScreenSize(m_form);
    auto readPosition = [&](const QString& key, const QString& defaultValue, bool& found) {
        QString value =
            Read(file, m_section, Ufiche::ScreenSizeKey(key, screen.width(), screen.height()), "");
        if (value.isEmpty()) {
            value = Read(file, m_section, key, "");
        }
        found = found || !value.isEmpty();
        return DecodeFourIntegers(value.isEmpty() ? defaultValue : value);
    };
    bool found = false;
    readPosition("MinMaxPos", "0,0,0,0",
                 found);  // Qt places minimized and maximized windows itself
    const QRect frame = m_form.frameGeometry();
    const auto normal = readPosition("NormPos", RectText(frame), found);
    const int pixelsPerInch = DecodeInteger(
        Read(file, m_section, "PixelsPerInch", QString::number(PixelsPerInch(m_form))).trimmed());

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
    m_outer->Restore(outer, Ufiche::DecodeShowCmd(
                                DecodeInteger(Read(file, m_section, "ShowCmd", "0").trimmed())));
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
    Write(file, m_section, "FormVersion", "0");
    SavePlacement(file, whileDestroyed);
    for (const StoredSetting& setting : m_settings) {
        SaveSetting(file, setting);
    }
}

void TFormStorage::SaveSetting(ProfileSession& file, const StoredSetting& setting) const {
    std::visit(Overloaded{
                   [&](const StoredSetting::Integer& value) {
                       Write(file, m_section, setting.key, QString::number(value.read()));
                   },
                   [&](const StoredSetting::Boolean& value) {
                       Write(file, m_section, setting.key, Ufiche::EncodeBoolean(value.read()));
                   },
                   [&](const StoredSetting::Text& value) {
                       Write(file, m_section, setting.key, Ufiche::EncodeText(value.read()));
                   },
                   [&](const StoredSetting::List& list) {
                       const QString section = ListSection(setting);
                       file.EraseSection(platform::ToWindows1252(section));
                       const QStringList entries = list.read();
                       // An empty list leaves no section behind.
                       if (entries.isEmpty()) {
                           return;
                       }
                       Write(file, section, "Count", QString::number(entries.size()));
                       for (qsizetype i = 0; i < entries.size(); ++i) {
                           Write(file, section, QStringLiteral("Item%1").arg(i),
                                 Ufiche::EncodeListEntry(entries[i]));
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
    const QString minMax = Ufiche::EncodeFourIntegers({-1, -1, -1, -1});
    const QString normal = RectText(m_outer->NormalOuterRect());

    Write(file, m_section, "Flags", QString::number(flags));
    Write(file, m_section, "ShowCmd", QString::number(showCmd));
    Write(file, m_section, "PixelsPerInch", QString::number(PixelsPerInch(m_form)));
    Write(file, m_section, Ufiche::ScreenSizeKey("MinMaxPos", screen.width(), screen.height()),
          minMax);
    Write(file, m_section, "MinMaxPos", minMax);
    Write(file, m_section, Ufiche::ScreenSizeKey("NormPos", screen.width(), screen.height()),
          normal);
    Write(file, m_section, "NormPos", normal);
    Write(file, m_section, "Visible", whileDestroyed ? "1" : "0");
}

}  // namespace Ufiche
