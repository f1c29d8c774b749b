#include "Ufiche/window/DefaultServices.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QPointer>
#include <QStandardPaths>

#include <chrono>

#include "Ufiche/texts/AppTexts.h"
#include "Ufiche/window/Captions.h"
#include "Ufiche/window/SaveRules.h"
#include "platform/system/System.h"

namespace Ufiche {
namespace {

const QString kCompileStampFile = QStringLiteral("_DatCompil.txt");

// The teacher's documents folder, or their home folder on a desktop that has
// not made a documents folder for the account.
QString DocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

}  // namespace

std::uint32_t ClockSeed() {
    return static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

std::optional<QString> AskNewText(QWidget* parent) {
    // A parent destroyed while the box is open destroys the box with it.
    const QPointer<QInputDialog> box = new QInputDialog(parent);
    box->setWindowTitle(texts::kNewTextTitle);
    box->setLabelText(texts::kNewTextPrompt);
    box->setTextValue(QString());
    // Qt makes the box as narrow as its prompt and field allow, which leaves
    // the title bar no room for the title beside the frame's icon and buttons.
    // The box's layout sets its size from its widgets', so the field takes
    // that width, which also shows more of a long instruction.
    if (auto* field = box->findChild<QLineEdit*>()) {
        field->setMinimumWidth(TitleBarWidth(box->windowTitle()));
    }
    const bool accepted = box->exec() == QDialog::Accepted;
    std::optional<QString> text;
    if (box && accepted) {
        text = box->textValue();
    }
    delete box.data();
    return text;
}

// No filter, no default extension, no title of its own, no question before
// overwriting a file.
std::optional<QString> ChooseSaveName(QWidget* parent, const QString& initialDir,
                                      const QString& proposedName) {
    QFileDialog dialog(parent);
    // Qt's own dialog, in French: a desktop's native one follows the
    // system's language.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDirectory(SaveDialogStartFolder(initialDir, BuiltSettingsLocation(),
                                              QDir::currentPath(), DocumentsFolder()));
    dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

void WriteCompileStamp() {
    QFile stamp(QDir::current().filePath(kCompileStampFile));
    if (stamp.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        stamp.write(CompileStampText(platform::ExecutablePath(),
                                     QDateTime::currentDateTime().toString("dd/MM/yyyy hh:mm:ss"))
                        .toUtf8());
    }
}

QString CompileStampText(const QString& executablePath, const QString& dateTime) {
    return QFileInfo(executablePath).fileName() + " : " + dateTime;
}

}  // namespace Ufiche
