#pragma once

#include "escpos_decoder.h"

#include <QDir>
#include <QString>

// A kitchen printer without paper: every cut receipt goes to standard output as text and to
// <folder>/<name>-NNNN.png as an image, numbered from 0001; a drawer kick shows at once.
class VirtualPrinter {
public:
    VirtualPrinter(QString name, const QString& folder);

    void receive(const QByteArray& bytes);
    // Writes out what was printed after the last cut, as the paper would still show it.
    void finish();

private:
    void printReceipt(const Receipt& receipt);
    void printDrawerKick();

    QString name_;
    QDir folder_;
    EscPosDecoder decoder_;
    int printed_ = 0;
};
