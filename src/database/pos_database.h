#pragma once

#include "connection.h"
#include "other_options.h"
#include "row.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

// The table the order-taking terminals file print jobs and drawer kicks in.
inline const QString jobTable = QStringLiteral("주방출력물");

// Who this terminal is, from its configuration file.
struct StoreIdentity {
    QString storeCode;
    QString posId;
    QString dbServer;
};

// The terminal's one connection to the store's POS database and the settings row of this
// terminal that comes with every successful connection.
class PosDatabase {
public:
    // Shows a notice to the operator and returns when it was dismissed.
    using ShowMessage = std::function<void(const QString& text)>;

    PosDatabase(StoreIdentity store, ShowMessage showMessage);

    // Checks that the server answers, opens a fresh connection and loads the settings row.
    // True only when both succeeded; failures are silent except where the operator must know.
    bool connectDatabase();
    // Fills the option slots from the settings row; done once per run, at start. Returns the
    // line for the error log when the SQL port given there is not a port number (the default
    // port is used instead).
    std::optional<QString> loadOtherOptions();
    void closeConnection();

    const StoreIdentity& store() const { return store_; }
    // The current connection. Throws DatabaseError when no attempt has been made yet.
    Connection& connection();
    // The settings row of this terminal. Throws DatabaseError when there is none.
    const Row& settings() const;
    qint16 receiptDelayMs() const { return receiptDelayMs_; }
    const OtherOptions& otherOptions() const { return options_; }
    // The connection text of the latest attempt, for the operator's journal.
    const QString& lastConnectionText() const { return lastConnectionText_; }
    // Why the latest attempt failed (the driver's own words where the driver refused); empty
    // after a successful one.
    const QString& connectionFailure() const { return connectionFailure_; }

private:
    bool openSqlServer(const QString& server, const QString& database, const QString& user,
                       const QString& password);
    bool loadSettingsRow();
    std::optional<QString> refuseUnusableSqlPort();

    StoreIdentity store_;
    ShowMessage showMessage_;
    std::unique_ptr<Connection> connection_;
    std::optional<Row> settingsRow_;
    qint16 receiptDelayMs_ = 0;
    OtherOptions options_;
    QString lastConnectionText_;
    QString connectionFailure_;
};

// The text without the program's database password or a connection text that carries one, for
// what is shown beyond this terminal (the status page). A password given as PWD=... goes too.
QString withoutPassword(const QString& text);
