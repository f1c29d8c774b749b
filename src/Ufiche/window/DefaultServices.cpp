#include "Ufiche/window/DefaultServices.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QStandardPaths>

#include <chrono>

#include "Ufiche/window/WindowRules.h"
#include "platform/errors/Messages.h"
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
    bool accepted = false;
    const QString text = QInputDialog::getText(parent, platform::messages::kNewTextTitle,
                                               platform::messages::kNewTextPrompt,
                                               QLineEdit::Normal, QString(), &accepted);
    if (!accepted) {
        return std::nullopt;
    }
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
        stamp.write(CompileStampText(platform::executablePath(),
                                     QDateTime::currentDateTime().toString("dd/MM/yyyy hh:mm:ss"))
                        .toUtf8());
    }
}

}  // namespace Ufiche
