#include "Ufiche/window/FormStorage.h"

#include <QComboBox>
#include <QScreen>
#include <QSignalBlocker>
#include <QWidget>

#include <algorithm>
#include <optional>

#include "Ufiche/window/OuterGeometry.h"
#include "Ufiche/window/StoredValues.h"
#include "platform/codepage/Codepage.h"
#include "platform/profile/ProfileFile.h"

namespace {

using Ufiche::DecodeFourIntegers;
using Ufiche::DecodeInteger;

// A list longer than this in a settings file is damage, not a teacher's
// list: reading it whole would hold the window for minutes.
constexpr int kMaxListEntries = 1000;

class Settings {
public:
    explicit Settings(const QString& fileName) : file_(fileName.toStdString()) {}

    QString Read(const QString& section, const QString& key, const QString& defaultValue) const {
        return platform::FromWindows1252(file_.readString(platform::ToWindows1252(section),
                                                          platform::ToWindows1252(key),
                                                          platform::ToWindows1252(defaultValue)));
    }
    void Write(const QString& section, const QString& key, const QString& value) {
        file_.writeString(platform::ToWindows1252(section), platform::ToWindows1252(key),
                          platform::ToWindows1252(value));
    }
    void EraseSection(const QString& section) {
        file_.eraseSection(platform::ToWindows1252(section));
    }

private:
    platform::ProfileFile file_;
};

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

TFormStorage::TFormStorage(QWidget& form, const QStringList& storedProps)
    : form_(form), outer_(new OuterGeometry(form)), section_(form.metaObject()->className()) {
    for (const QString& entry : storedProps) {
        const qsizetype dot = entry.indexOf('.');
        if (dot < 0) {
            continue;
        }
        const QString controlName = entry.left(dot).trimmed();
        const QString propertyName = entry.mid(dot + 1).trimmed();
        QObject* control = form.findChild<QObject*>(controlName);
        if (control == nullptr) {
            continue;
        }
        const QString lower = propertyName.toLower();
        Kind kind = Kind::Text;
        if (lower == "value" || lower == "position") {
            kind = Kind::Integer;
        } else if (lower == "checked") {
            kind = Kind::Boolean;
        } else if (lower == "items") {
            kind = Kind::List;
        }
        properties_.push_back({control, controlName + "_" + propertyName, kind});
    }
}

QString TFormStorage::ListSection(const StoredProperty& property) const {
    return section_ + "." + property.key;
}

QString TFormStorage::CurrentText(const StoredProperty& property) const {
    QObject* control = property.control;
    switch (property.kind) {
        case Kind::Integer:
            return QString::number(control->property("value").toInt());
        case Kind::Boolean:
            return Ufiche::EncodeBoolean(control->property("checked").toBool());
        case Kind::Text:
            if (auto* combo = qobject_cast<QComboBox*>(control)) {
                return combo->currentText();
            }
            if (control->property("text").isValid()) {
                return control->property("text").toString();
            }
            return control->property("InitialDir").toString();
        case Kind::List:
            return {};
    }
    return {};
}

void TFormStorage::Assign(const StoredProperty& property, const QString& text) {
    QObject* control = property.control;
    switch (property.kind) {
        case Kind::Integer:
            // The control keeps the value within its range.
            control->setProperty("value", DecodeInteger(text));
            break;
        case Kind::Boolean:
            if (const auto value = Ufiche::DecodeBoolean(text)) {
                control->setProperty("checked", *value);
            }
            break;
        case Kind::Text:
            if (auto* combo = qobject_cast<QComboBox*>(control)) {
                // Text set by code raises no change event in the box.
                const QSignalBlocker noEvent(combo);
                combo->setEditText(text);
            } else if (control->property("text").isValid()) {
                control->setProperty("text", text);
            } else {
                control->setProperty("InitialDir", text);
            }
            break;
        case Kind::List:
            break;
    }
}

void TFormStorage::RestoreSettings() {
    saved_ = false;
    Settings settings(iniFileName_);
    if (DecodeInteger(settings.Read(section_, "FormVersion", "0").trimmed()) >= 0) {
        RestorePlacement();
        for (const auto& property : properties_) {
            if (property.control.isNull()) {
                continue;
            }
            // One property that cannot be restored does not stop the others.
            try {
                if (property.kind == Kind::List) {
                    RestoreList(property);
                } else {
                    const QString current = CurrentText(property);
                    Assign(property,
                           Ufiche::TrimControls(settings.Read(section_, property.key, current)));
                }
            } catch (...) {
            }
        }
    }
    restored_ = true;
}

void TFormStorage::RestorePlacement() {
    Settings settings(iniFileName_);
    const QSize screen = ScreenSize(form_);
    auto readPosition = [&](const QString& key, const QString& defaultValue, bool& found) {
        QString value = settings.Read(
            section_, Ufiche::ScreenSizeKey(key, screen.width(), screen.height()), "");
        if (value.isEmpty()) {
            value = settings.Read(section_, key, "");
        }
        found = found || !value.isEmpty();
        return DecodeFourIntegers(value.isEmpty() ? defaultValue : value);
    };
    bool found = false;
    readPosition("MinMaxPos", "0,0,0,0",
                 found);  // Qt places minimized and maximized windows itself
    const QRect frame = form_.frameGeometry();
    const auto normal = readPosition("NormPos", RectText(frame), found);
    const int pixelsPerInch = DecodeInteger(
        settings.Read(section_, "PixelsPerInch", QString::number(PixelsPerInch(form_))).trimmed());

    std::optional<QRect> outer;
    if (found && pixelsPerInch == PixelsPerInch(form_)) {
        const int left = normal[0];
        const int top = normal[1];
        const int right = normal[2];
        const int bottom = normal[3];
        if (left < right) {
            // The stored rectangle is the outer one, frame included.
            outer = QRect(left, top, right - left, bottom - top);
        }
    }
    outer_->Restore(outer, Ufiche::DecodeShowCmd(
                               DecodeInteger(settings.Read(section_, "ShowCmd", "0").trimmed())));
}

void TFormStorage::RestoreList(const StoredProperty& property) {
    auto* combo = qobject_cast<QComboBox*>(property.control.data());
    if (combo == nullptr) {
        return;
    }
    Settings settings(iniFileName_);
    const QString section = ListSection(property);
    const int count = std::min(
        DecodeInteger(Ufiche::TrimControls(settings.Read(section, "Count", "0"))), kMaxListEntries);
    if (count <= 0) {
        return;
    }
    QStringList entries;
    for (int i = 0; i < count; ++i) {
        entries << settings.Read(section, QStringLiteral("Item%1").arg(i), "");
    }
    // Refilling the list changes the box's text: keep the one restored.
    const QSignalBlocker noEvent(combo);
    const QString text = combo->currentText();
    combo->clear();
    combo->addItems(entries);
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
}

void TFormStorage::SaveSettings(bool whileDestroyed) {
    if (!restored_) {
        return;
    }
    Settings settings(iniFileName_);
    settings.Write(section_, "FormVersion", "0");
    SavePlacement(whileDestroyed);
    for (const auto& property : properties_) {
        if (property.control.isNull()) {
            continue;
        }
        switch (property.kind) {
            case Kind::List:
                SaveList(property);
                break;
            case Kind::Text:
                settings.Write(section_, property.key, Ufiche::EncodeText(CurrentText(property)));
                break;
            default:
                settings.Write(section_, property.key, CurrentText(property));
                break;
        }
    }
    saved_ = true;
}

void TFormStorage::SavePlacement(bool whileDestroyed) {
    Settings settings(iniFileName_);
    const Qt::WindowStates state = form_.windowState();
    const bool minimized = (state & Qt::WindowMinimized) != 0;
    const bool maximized = (state & Qt::WindowMaximized) != 0;
    const int flags = minimized && maximized ? 2 : 0;
    const int showCmd = minimized ? 2 : (maximized ? 3 : 1);
    const QSize screen = ScreenSize(form_);
    // Qt does not report where the window manager puts minimized and
    // maximized windows: the file holds the "not set" position of -1, -1.
    const QString minMax = Ufiche::EncodeFourIntegers({-1, -1, -1, -1});
    const QString normal = RectText(outer_->normalOuterRect());

    settings.Write(section_, "Flags", QString::number(flags));
    settings.Write(section_, "ShowCmd", QString::number(showCmd));
    settings.Write(section_, "PixelsPerInch", QString::number(PixelsPerInch(form_)));
    settings.Write(section_, Ufiche::ScreenSizeKey("MinMaxPos", screen.width(), screen.height()),
                   minMax);
    settings.Write(section_, "MinMaxPos", minMax);
    settings.Write(section_, Ufiche::ScreenSizeKey("NormPos", screen.width(), screen.height()),
                   normal);
    settings.Write(section_, "NormPos", normal);
    settings.Write(section_, "Visible", whileDestroyed ? "1" : "0");
}

void TFormStorage::SaveList(const StoredProperty& property) {
    auto* combo = qobject_cast<QComboBox*>(property.control.data());
    if (combo == nullptr) {
        return;
    }
    Settings settings(iniFileName_);
    const QString section = ListSection(property);
    settings.EraseSection(section);
    if (combo->count() == 0) {
        return;
    }
    settings.Write(section, "Count", QString::number(combo->count()));
    for (int i = 0; i < combo->count(); ++i) {
        settings.Write(section, QStringLiteral("Item%1").arg(i), combo->itemText(i));
    }
}
