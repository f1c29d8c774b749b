#include "platform/errors/ErrorReport.h"

#include <QMessageBox>

#include "platform/errors/Messages.h"
#include "platform/errors/PlatformError.h"

namespace platform {
namespace {

void ShowInMessageBox(const QString& message) {
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                          message);
}

ErrorPresenter& Presenter() {
    static ErrorPresenter presenter = ShowInMessageBox;
    return presenter;
}

}  // namespace

void setErrorPresenter(ErrorPresenter presenter) {
    Presenter() = presenter ? std::move(presenter) : ErrorPresenter(ShowInMessageBox);
}

void reportError(const QString& message) {
    Presenter()(message);
}

QString errorMessage(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const PlatformError& platformError) {
        return platformError.message();
    } catch (const std::exception& other) {
        return QString::fromUtf8(other.what());
    } catch (...) {
        return messages::kUnknownError;
    }
}

FicheApplication::FicheApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool FicheApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportError(errorMessage(std::current_exception()));
        return false;
    }
}

}  // namespace platform
