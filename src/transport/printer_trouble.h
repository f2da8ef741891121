#pragma once

#include <QString>

// Why a kitchen printer does not print, as far as the program can tell, with the words the
// error log is given for it.
enum class PrinterTrouble {
    paperNearEnd, // still prints
    paperOut,
    coverOpen,
    offline,
    notAnswering,
    notTaking,   // takes no byte and says nothing of printing
    unavailable, // the port or connection itself failed
};

QString troubleDescription(PrinterTrouble trouble);

// The trouble a failure's description names; any other failure of a printer's port or
// connection is `unavailable`.
PrinterTrouble troubleNamedIn(const QString& description);
