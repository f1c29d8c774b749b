#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <variant>
#include <vector>

#include "Ufiche/settings/SettingsTable.h"
#include "Ufiche/window/settings/StoredValues.h"

class QWidget;

namespace platform {
class ProfileSession;
}

namespace Ufiche {

// A row of the settings table (Ufiche/settings/SettingsTable.h) bound to
// what holds its value in the window: the kind of value decides how it is
// written and read back, and the two functions read the control and give it
// a value.
struct StoredSetting {
    template <class Value>
    struct Access {
        std::function<Value()> read;
        // Runs the control's change handler when the value changes it.
        std::function<void(const Value&)> write;
    };
    // Given already within the row's limits.
    using Integer = Access<int>;
    using Boolean = Access<bool>;
    using Text = Access<QString>;
    using List = Access<QStringList>;

    const SettingRow* row;
    std::variant<Integer, Boolean, Text, List> access;
};

// The window's outer rectangle as the store keeps it: restored at the first
// showing, read at each save.
class StoredPlacement {
public:
    virtual ~StoredPlacement() = default;
    // Restores the normal outer rectangle, when there is one, and the state.
    virtual void Restore(const std::optional<QRect>& outer, StoredShowState state) = 0;
    // The normal outer rectangle, also while the window is maximized or
    // minimized.
    virtual QRect NormalOuterRect() const = 0;
};

// The settings store of the main window: its placement and the stored
// settings, in the settings file's section kSettingsSection, restored once at
// the first showing and saved at the close. Each restore reads the file once
// and each save writes it once.
class TFormStorage {
public:
    // The settings are kept in the file in the given order.
    TFormStorage(QWidget& form, StoredPlacement& placement, std::vector<StoredSetting> settings);

    void SetIniFileName(const QString& fileName) { m_iniFileName = fileName; }

    // Restores placement, window state and properties. A restored value that
    // differs from the control's runs the control's change handler. An error
    // while one property is restored is ignored; any other error escapes.
    void RestoreSettings();

    // Writes everything, in the order of the keys; "Visible" is 1 only for the
    // save made while the window is destroyed. Nothing is saved before a
    // restore. A value that cannot be written raises the error and stops the
    // save; the values before it are still written.
    void SaveSettings(bool whileDestroyed = false);

    // The bound settings, in the file's order.
    const std::vector<StoredSetting>& Settings() const { return m_settings; }

    bool Restored() const { return m_restored; }
    bool Saved() const { return m_saved; }

private:
    void RestoreSetting(const platform::ProfileSession& file, const StoredSetting& setting);
    void SaveSetting(platform::ProfileSession& file, const StoredSetting& setting) const;
    void RestorePlacement(const platform::ProfileSession& file);
    void SavePlacement(platform::ProfileSession& file, bool whileDestroyed) const;
    void SaveAll(platform::ProfileSession& file, bool whileDestroyed) const;

    QWidget& m_form;
    StoredPlacement& m_placement;
    std::vector<StoredSetting> m_settings;
    QString m_iniFileName;
    bool m_restored = false;
    bool m_saved = false;
};

}  // namespace Ufiche
