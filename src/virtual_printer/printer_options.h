#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>

// virtual-printer --name <name> --out <folder> (--listen <host>:<port> | --serial <path>)
struct PrinterOptions {
    QString name;
    QString outFolder;
    QHostAddress listenAddress; // a network printer when serialPath is empty
    quint16 listenPort = 0;
    QString serialPath;
};

// Throws std::invalid_argument with the usage when the command line does not fit.
PrinterOptions parsePrinterOptions(const QStringList& arguments);
