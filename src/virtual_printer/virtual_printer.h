#pragma once

#include "escpos_decoder.h"

#include <QDir>
#include <QFile>
#include <QString>

// The paper of a kitchen printer: every cut receipt goes to standard output as text (unless
// quiet) and to <folder>/<name>-NNNN.png as an image, numbered from 0001; a drawer kick shows at
// once. A paper file, when named, gets every printed byte as it is printed.
class VirtualPrinter {
public:
    VirtualPrinter(QString name, const QString& folder, const QString& paperFile, bool quiet);

    // Prints the bytes; returns the status requests among them, in order.
    std::vector<StatusRequest> print(const QByteArray& bytes);
    // The power went: what waited for the rest of a command and the text not yet cut are lost.
    void discard();
    // Writes out what was printed after the last cut, as the paper would still show it.
    void finish();
    qint64 printedBytes() const { return printedBytes_; }

private:
    void keepPrinted();
    void printReceipt(const Receipt& receipt);
    void printDrawerKick();
    void show(const QString& text) const;

    QString name_;
    QDir folder_;
    QFile paperFile_;
    bool quiet_;
    EscPosDecoder decoder_;
    int receipts_ = 0;
    qint64 printedBytes_ = 0;
};
