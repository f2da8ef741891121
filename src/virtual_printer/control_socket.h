#pragma once

#include <QLocalServer>
#include <QLocalSocket>
#include <QObject>
#include <functional>

// A Unix-domain socket at a full path taking one command per line and answering each with one
// line; any number of clients, each for as many lines as it likes.
class ControlSocket : public QObject {
    Q_OBJECT

public:
    using Answer = std::function<QString(const QString& line)>;

    // A path without a folder is taken in the working folder, not in Qt's own.
    ControlSocket(const QString& path, Answer answer, QObject* parent = nullptr);

    // Throws std::runtime_error when the path cannot be taken.
    void listen();

private:
    void takeClients();
    void answerLines(QLocalSocket* client);

    QString path_;
    Answer answer_;
    QLocalServer server_;
};
