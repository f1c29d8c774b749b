#pragma once

#include <QApplication>
#include <QString>

#include <exception>
#include <functional>

namespace platform {

// The application's general error report: a message box with the error's
// French text. Tests replace the presenter to read the messages instead.
using ErrorPresenter = std::function<void(const QString& message)>;
void SetErrorPresenter(ErrorPresenter presenter);
void ReportError(const QString& message);

// The text the teacher reads for an exception that escaped an operation.
QString ErrorMessage(const std::exception_ptr& error);

// Runs an event handler; whatever escapes it is reported, and the program
// goes on: the operation stops where it threw, nothing else is undone.
template <class Handler>
void RunReportingErrors(Handler&& handler) {
    try {
        handler();
    } catch (...) {
        ReportError(ErrorMessage(std::current_exception()));
    }
}

// The application object: an exception that escapes an event's delivery is
// reported instead of ending the program.
class FicheApplication : public QApplication {
public:
    FicheApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace platform
