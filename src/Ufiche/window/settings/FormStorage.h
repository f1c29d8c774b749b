#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <variant>
#include <vector>

class QWidget;

namespace platform {
class ProfileSession;
}

namespace Ufiche {

class OuterGeometry;

// A control property kept in the settings file under its key
// ("spMaxLigne_Value"): the kind of value decides how it is written and read
// back, and the two functions read the control and give it a value.
struct StoredSetting {
    template <class Value>
    struct Access {
        std::function<Value()> read;
        // Runs the control's change handler when the value changes it.
        std::function<void(const Value&)> write;
    };
    // A decimal integer; the control keeps it within its range.
    using Integer = Access<int>;
    // "True" or "False".
    using Boolean = Access<bool>;
    using Text = Access<QString>;
    // A list of texts, in a section of its own: "Count", then "Item0", ...
    using List = Access<QStringList>;

    QString key;
    std::variant<Integer, Boolean, Text, List> access;
};

// The settings store of the main window: its placement and a table of control
// properties kept in the settings file, restored once at the first showing
// and saved at the close. Each restore reads the file once and each save
// writes it once.
class TFormStorage {
public:
    // The settings are kept in the file in the table's order.
    // The keys go in the file's section `section`.
    TFormStorage(QWidget& form, QString section, std::vector<StoredSetting> settings);

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

    // The window's outer rectangle, stored and restored with its frame.
    OuterGeometry& Outer() const { return *m_outer; }

    bool Restored() const { return m_restored; }
    bool Saved() const { return m_saved; }

private:
    void RestoreSetting(const platform::ProfileSession& file, const StoredSetting& setting);
    void SaveSetting(platform::ProfileSession& file, const StoredSetting& setting) const;
    void RestorePlacement(const platform::ProfileSession& file);
    void SavePlacement(platform::ProfileSession& file, bool whileDestroyed) const;
    void SaveAll(platform::ProfileSession& file, bool whileDestroyed) const;
    QString ListSection(const StoredSetting& setting) const;

    QWidget& m_form;
    OuterGeometry* m_outer;  // a child of the window
    QString m_section;
    std::vector<StoredSetting> m_settings;
    QString m_iniFileName;
    bool m_restored = false;
    bool m_saved = false;
};

}  // namespace Ufiche
