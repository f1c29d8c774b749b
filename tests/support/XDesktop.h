#pragma once

#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWindow>

#include <functional>

// An X server of the tests' own (Xvfb) with a real window manager (openbox)
// on it, on a display number that no other server uses. The machine's own
// display, if any, is left alone.
class XDesktop {
public:
    XDesktop() = default;
    ~XDesktop();
    XDesktop(const XDesktop&) = delete;
    XDesktop& operator=(const XDesktop&) = delete;

    // Starts the server and the window manager and waits until the window
    // manager has taken the screen; false (and why) when this machine cannot.
    bool Start(QString& whyNot);
    // ":N", for DISPLAY.
    QString Display() const { return m_display; }

    // Runs an X client program (xdotool, xprop...) on this display; its
    // standard output, or an empty text when it fails.
    QString Run(const QString& program, const QStringList& arguments,
                int* exitCode = nullptr) const;

    // What the X server itself says of a top-level window of this process:
    // its outer rectangle (the client's place with the frame extents that
    // the window manager set around it) and its state atoms.
    QRect OuterRect(WId window) const;
    QStringList NetWmState(WId window) const;
    bool Iconic(WId window) const;
    // Gives the window the focus as a click on it in a task bar would.
    void Activate(WId window) const;

    // Waits, processing the application's events, until `condition` holds or
    // `seconds` have passed; answers whether it held.
    static bool WaitFor(const std::function<bool()>& condition, int seconds = 30);

private:
    bool WindowManagerRunning() const;

    QProcess m_server;
    QProcess m_windowManager;
    QString m_display;
};
