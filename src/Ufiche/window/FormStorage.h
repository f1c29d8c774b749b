#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>

#include <vector>

class QWidget;
class OuterGeometry;

// The settings store of the main window: its placement and a list of control
// properties ("spMaxLigne.Value", ...) kept in the settings file, restored
// once at the first showing and saved at the close.
class TFormStorage {
public:
    // `storedProps` entries name a control and a property; an entry whose
    // control the window does not have is dropped here.
    TFormStorage(QWidget& form, const QStringList& storedProps);

    void setIniFileName(const QString& fileName) { iniFileName_ = fileName; }
    const QString& iniFileName() const { return iniFileName_; }

    // Restores placement, window state and properties. A restored value that
    // differs from the control's runs the control's change handler. An error
    // while one property is restored is ignored; any other error escapes.
    void RestoreSettings();

    // Writes everything, key by key; "Visible" is 1 only for the save made
    // while the window is destroyed. Nothing is saved before a restore. A
    // value that cannot be written raises the error and stops the save.
    void SaveSettings(bool whileDestroyed = false);

    // The window's outer rectangle, stored and restored with its frame.
    OuterGeometry& Outer() const { return *outer_; }

    bool Restored() const { return restored_; }
    bool Saved() const { return saved_; }

private:
    enum class Kind { Integer, Boolean, Text, List };
    struct StoredProperty {
        QPointer<QObject> control;
        QString key;  // Control_Property
        Kind kind;
    };

    QString CurrentText(const StoredProperty& property) const;
    void Assign(const StoredProperty& property, const QString& text);
    void RestoreList(const StoredProperty& property);
    void SaveList(const StoredProperty& property);
    void RestorePlacement();
    void SavePlacement(bool whileDestroyed);
    QString ListSection(const StoredProperty& property) const;

    QWidget& form_;
    OuterGeometry* outer_;  // a child of the window
    QString section_;
    std::vector<StoredProperty> properties_;
    QString iniFileName_;
    bool restored_ = false;
    bool saved_ = false;
};
