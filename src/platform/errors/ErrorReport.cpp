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

void SetErrorPresenter(ErrorPresenter presenter) {
    Presenter() = presenter ? std::move(presenter) : ErrorPresenter(ShowInMessageBox);
}

void ReportError(const QString& message) {
    Presenter()(message);
}

QString ErrorMessage(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const PlatformError& platformError) {
        return platformError.Message();
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
        ReportError(ErrorMessage(std::current_exception()));
        return false;
    }
}

}  // namespace platform
