// A connection to an ODBC data source, shared by the commands and recordsets
// that run on it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ado/AdoError.h"

namespace wexal::ado {

namespace odbc {
class Handle;
}

// Rows that a recordset keeps back inside a transaction, to send many in one
// statement: the connection has them sent before any other statement runs on
// it and before it commits, and forgotten when it rolls back.
class HeldRows {
  public:
    // Throws AdoError when the database refuses them; they are gone then.
    virtual void Send() = 0;
    virtual void Forget() = 0;

  protected:
    ~HeldRows() = default;
};

// How long a database may take before the call gives up, in seconds, as
// ADO counts them: to answer a connection's Open, and to finish a command.
// 0 waits for good.
inline constexpr std::int32_t kDefaultConnectionTimeout = 15;
inline constexpr std::int32_t kDefaultCommandTimeout = 30;

class Connection {
  public:
    // Throws AdoError when the ODBC driver manager cannot be started.
    Connection();
    // Rolls back a transaction still open, then disconnects.
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Connects with an ODBC connection string ("DSN=name;UID=user;PWD=secret;"
    // and the like), without prompting. Throws AdoError with the driver's
    // diagnostics when the data source cannot be reached or refuses the login.
    void Open(const std::u16string& connectionString);
    bool IsOpen() const { return open_; }
    // How long Open waits for the data source; taken at the next Open.
    std::int32_t ConnectionTimeout() const { return connectionTimeout_; }
    void SetConnectionTimeout(std::int32_t seconds) { connectionTimeout_ = seconds; }
    // How long each statement of the recordsets opened on the connection
    // may run; taken when a recordset runs a statement. Inside a transaction
    // keep it to the commands' own: PostgreSQL's driver sets the server's
    // timeout only when it changes, and a change made in a transaction that
    // rolls back is undone without the driver knowing.
    std::int32_t CommandTimeout() const { return commandTimeout_; }
    void SetCommandTimeout(std::int32_t seconds) { commandTimeout_ = seconds; }
    // Rolls back a transaction still open and disconnects; nothing when closed.
    void Close();

    // Statements between BeginTrans and CommitTrans take effect together, or
    // not at all after RollbackTrans. One transaction at a time. Rows held
    // back are sent before the commit; when any of the transaction's held
    // rows were refused, CommitTrans rolls back and throws that refusal, so
    // that no row is lost in silence.
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const { return inTransaction_; }

    // The native connection handle, for the layer's commands and recordsets.
    // Throws AdoError when the connection is not open.
    void* NativeHandle() const;

    // Used by the layer's recordsets and commands: rows held back until the
    // next statement or the commit, and their refusal.
    void Hold(HeldRows& rows);
    void Release(HeldRows& rows);
    void SendHeldRows();
    void NoteRefusedRows(const AdoError& refusal);

  private:
    void EndTransaction(bool commit);
    void ForgetHeldRows();

    std::unique_ptr<odbc::Handle> environment_;
    std::unique_ptr<odbc::Handle> connection_;
    bool open_ = false;
    std::int32_t connectionTimeout_ = kDefaultConnectionTimeout;
    std::int32_t commandTimeout_ = kDefaultCommandTimeout;
    bool inTransaction_ = false;
    std::vector<HeldRows*> held_;
    std::optional<AdoError> refusedRows_;
};

// Rolls back on destruction unless committed: a block that fails halfway
// leaves nothing behind.
class Transaction {
  public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void Commit();

  private:
    Connection& connection_;
    bool done_ = false;
};

}  // namespace wexal::ado
