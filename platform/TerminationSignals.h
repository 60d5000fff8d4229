#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP (a session that ends, Ctrl-C in the terminal, a
// closed terminal) turned into a signal on the main thread, so the program
// can end the way its own Quit does: files saved, temporary folder removed.
// A second such signal ends the program at once. One per process.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *mNotifier = nullptr;
};
