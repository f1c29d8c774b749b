// The window's settings that survive a restart, and how each one is read
// from its control and given back to it.
#include <QSignalBlocker>

#include "Ufiche/window/TForm1.h"
#include "Ufiche/window/settings/FormStorage.h"
#include "ui_TForm1.h"

namespace Ufiche {

namespace {

StoredSetting::Integer SpinBoxValue(QSpinBox* box) {
    return {[box] { return box->value(); }, [box](const int& value) { box->setValue(value); }};
}

StoredSetting::Boolean Checked(QCheckBox* box) {
    return {[box] { return box->isChecked(); },
            [box](const bool& checked) { box->setChecked(checked); }};
}

StoredSetting::Text LineText(QLineEdit* field) {
    return {[field] { return field->text(); },
            [field](const QString& text) { field->setText(text); }};
}

StoredSetting::Text ComboText(QComboBox* combo) {
    return {[combo] { return combo->currentText(); },
            [combo](const QString& text) {
                // Text set by code raises no change event in the box.
                const QSignalBlocker noEvent(combo);
                combo->setEditText(text);
            }};
}

StoredSetting::List ComboItems(QComboBox* combo) {
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

}  // namespace

std::vector<StoredSetting> TForm1::StoredSettings() {
    QSlider* level = m_ui->trbNiveau;
    // In the order the file keeps them; each key is the control's name and
    // the property's.
    return {
        {"spMaxLigne_Value", SpinBoxValue(m_ui->spMaxLigne)},
        {"spinterligne_Value", SpinBoxValue(m_ui->spinterligne)},
        {"eTitre1_Text", LineText(m_ui->eTitre1)},
        {"eSepar_Text", LineText(m_ui->eSepar)},
        {"spCorriges_Value", SpinBoxValue(m_ui->spCorriges)},
        {"spSujets_Value", SpinBoxValue(m_ui->spSujets)},
        // The save dialog's starting folder: nothing in the program changes it.
        {"SaveDialog1_InitialDir",
         StoredSetting::Text{[this] { return m_saveDialogInitialDir; },
                             [this](const QString& folder) { m_saveDialogInitialDir = folder; }}},
        {"Combo1_Text", ComboText(m_ui->Combo1)},
        {"Combo1_Items", ComboItems(m_ui->Combo1)},
        {"CheckBox1_Checked", Checked(m_ui->CheckBox1)},
        {"trbNiveau_Position",
         StoredSetting::Integer{[level] { return level->value(); },
                                [level](const int& value) { level->setValue(value); }}},
        {"ckbEdite_Checked", Checked(m_ui->ckbEdite)},
        // Beyond the first version's keys: a file without it gives the point.
        {"ckbVirgule_Checked", Checked(m_ui->ckbVirgule)},
    };
}

}  // namespace Ufiche
