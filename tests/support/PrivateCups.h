#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A CUPS scheduler of the tests' own: its configuration, spool and logs in a
// temporary folder, listening on a free loopback port, with queues whose
// device is a file. The machine's own scheduler is left alone.
class PrivateCups {
public:
    PrivateCups();
    ~PrivateCups();

    // Starts the scheduler; false (and why) when this machine cannot run one.
    bool Start(QString& whyNot);
    // "127.0.0.1:PORT", for CUPS_SERVER.
    QString Server() const;

    bool AddQueue(const QString& name, bool makeDefault);
    bool RemoveQueue(const QString& name);
    // The titles of every job the scheduler has received, in order; those of
    // one queue only when it is named.
    QStringList JobTitles(const QString& queue = {}) const;

private:
    QString Run(const QString& program, const QStringList& arguments,
                int* exitCode = nullptr) const;

    QTemporaryDir m_folder;
    QProcess m_scheduler;
    int m_port = 0;
};
