#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>

// The command line of virtual-printer; usageText() lists it.
struct PrinterOptions {
    bool helpWanted = false;
    QString name;
    QString outFolder;
    QHostAddress listenAddress; // a network printer when serialPath is empty
    quint16 listenPort = 0;
    QString serialPath;
    qsizetype bufferBytes = 4096;
    int bytesPerSecond = 20000;
    QString paperFile;
    QString controlPath;
    bool answers = true;
    bool printedAnswers = true;
    int windowHoldSeconds = 0;
    bool xonXoff = false;
    bool quiet = false;
};

QString usageText();

// Throws std::invalid_argument with the usage when the command line does not fit.
PrinterOptions parsePrinterOptions(const QStringList& arguments);
