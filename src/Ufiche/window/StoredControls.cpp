#include "Ufiche/window/StoredControls.h"

#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "Commune/StoredText.h"
#include "Ufiche/settings/SettingsTable.h"
#include "Ufiche/settings/WorksheetSettingLines.h"
#include "platform/codepage/Codepage.h"

namespace Ufiche {

namespace {

// Spin boxes and sliders share no base class that holds a value.
template <class Box>
StoredSetting::Integer RangedValue(Box* box, const SettingRow& row) {
    box->setRange(row.Minimum, row.Maximum);
    box->setValue(Commune::DecodeInteger(DefaultOf(row, Edition::Desktop)));
    return {[box] { return box->value(); }, [box](const int& value) { box->setValue(value); }};
}

StoredSetting::Boolean Checked(QCheckBox* box, const SettingRow& row) {
    box->setChecked(Commune::DecodeBoolean(DefaultOf(row, Edition::Desktop)).value_or(false));
    return {[box] { return box->isChecked(); },
            [box](const bool& checked) { box->setChecked(checked); }};
}

StoredSetting::Text LineText(QLineEdit* field, const SettingRow& row) {
    if (row.TextLimit != 0) {
        field->setMaxLength(static_cast<int>(row.TextLimit));
    }
    field->setText(platform::FromWindows1252(DefaultOf(row, Edition::Desktop)));
    return {[field] { return field->text(); },
            [field](const QString& text) { field->setText(text); }};
}

StoredSetting::Text ComboText(QComboBox* combo, const SettingRow& row) {
    combo->setEditText(platform::FromWindows1252(DefaultOf(row, Edition::Desktop)));
    return {[combo] { return combo->currentText(); },
            [combo](const QString& text) {
                // Text set by code raises no change event in the box.
                const QSignalBlocker noEvent(combo);
                combo->setEditText(text);
            }};
}

StoredSetting::List ComboItems(QComboBox* combo, const SettingRow& row) {
    // The first entry becomes the chosen one; the text stays the one given.
    const QString text = combo->currentText();
    combo->clear();
    for (std::string_view entry : row.DefaultEntries) {
        combo->addItem(platform::FromWindows1252(entry));
    }
    combo->setEditText(text);
    return {[combo] {
                QStringList entries;
                for (int i = 0; i < combo->count(); ++i) {
                    entries << combo->itemText(i);
                }
                return entries;
            },
            [combo](const QStringList& entries) {
                // Refilling the list changes the box's text: keep the one
                // restored.
                const QSignalBlocker noEvent(combo);
                const QString text = combo->currentText();
                combo->clear();
                combo->addItems(entries);
                combo->setCurrentIndex(-1);
                combo->setEditText(text);
            }};
}

StoredSetting Bind(QWidget& form, const SettingRow& row, QString& saveDialogFolder) {
    if (row.Key == "SaveDialog1_InitialDir") {
        saveDialogFolder = platform::FromWindows1252(DefaultOf(row, Edition::Desktop));
        return {&row, StoredSetting::Text{[&saveDialogFolder] { return saveDialogFolder; },
                                          [&saveDialogFolder](const QString& folder) {
                                              saveDialogFolder = folder;
                                          }}};
    }
    QWidget* control = form.findChild<QWidget*>(QString::fromLatin1(row.Control));
    auto* combo = qobject_cast<QComboBox*>(control);
    switch (row.Kind) {
        case SettingKind::Integer:
            if (auto* box = qobject_cast<QSpinBox*>(control)) {
                return {&row, RangedValue(box, row)};
            }
            if (auto* slider = qobject_cast<QAbstractSlider*>(control)) {
                return {&row, RangedValue(slider, row)};
            }
            break;
        case SettingKind::Boolean:
            if (auto* box = qobject_cast<QCheckBox*>(control)) {
                return {&row, Checked(box, row)};
            }
            break;
        case SettingKind::Text:
            if (auto* field = qobject_cast<QLineEdit*>(control)) {
                return {&row, LineText(field, row)};
            }
            if (combo != nullptr) {
                return {&row, ComboText(combo, row)};
            }
            break;
        case SettingKind::List:
            if (combo != nullptr) {
                return {&row, ComboItems(combo, row)};
            }
            break;
    }
    // A row that names no control of its kind is a fault of the form or of
    // the table, found at the first start.
    throw std::logic_error("no control for the stored setting " + std::string(row.Key));
}

}  // namespace

std::vector<StoredSetting> BindStoredControls(QWidget& form, QString& saveDialogFolder) {
    std::vector<StoredSetting> settings;
    for (const SettingRow& row : SettingRows()) {
        settings.push_back(Bind(form, row, saveDialogFolder));
    }
    return settings;
}

WorksheetSettings WorksheetSettingsOf(const std::vector<StoredSetting>& settings) {
    WorksheetSettings worksheet{};
    for (const WorksheetSettingField& field : WorksheetSettingFields()) {
        const auto bound = std::find_if(
            settings.begin(), settings.end(),
            [&](const StoredSetting& setting) { return setting.row->Key == field.Key; });
        if (bound == settings.end()) {
            throw std::logic_error("no stored setting for " + std::string(field.Key));
        }
        // A field and its setting of different kinds are a fault of the
        // tables, which std::get reports.
        if (const auto* integer = std::get_if<int WorksheetSettings::*>(&field.Target)) {
            worksheet.*(*integer) = std::get<StoredSetting::Integer>(bound->access).read();
        } else if (const auto* flag = std::get_if<bool WorksheetSettings::*>(&field.Target)) {
            worksheet.*(*flag) = std::get<StoredSetting::Boolean>(bound->access).read();
        } else {
            worksheet.*std::get<std::string WorksheetSettings::*>(field.Target) =
                platform::ToWindows1252(std::get<StoredSetting::Text>(bound->access).read());
        }
    }
    return worksheet;
}

}  // namespace Ufiche
