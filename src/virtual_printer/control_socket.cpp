#include "control_socket.h"

#include <QFileInfo>
#include <stdexcept>

ControlSocket::ControlSocket(const QString& path, Answer answer, QObject* parent)
    : QObject(parent), path_(QFileInfo(path).absoluteFilePath()), answer_(std::move(answer)) {
    connect(&server_, &QLocalServer::newConnection, this, &ControlSocket::takeClients);
}

// A socket file left by an earlier run that was killed is taken over.
void ControlSocket::listen() {
    QLocalServer::removeServer(path_);
    if (!server_.listen(path_)) {
        throw std::runtime_error(QStringLiteral("cannot listen on %1: %2")
                                     .arg(path_, server_.errorString())
                                     .toStdString());
    }
}

void ControlSocket::takeClients() {
    while (QLocalSocket* client = server_.nextPendingConnection()) {
        connect(client, &QLocalSocket::readyRead, this, [this, client] { answerLines(client); });
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
    }
}

void ControlSocket::answerLines(QLocalSocket* client) {
    while (client->canReadLine()) {
        const QString line = QString::fromUtf8(client->readLine());
        client->write((answer_(line) + QLatin1Char('\n')).toUtf8());
    }
}
