#include "platform/ado/Connection.h"

#include <algorithm>
#include <optional>

#include "platform/ado/OdbcStatement.h"

namespace wexal::ado {

Connection::Connection()
    : environment_(std::make_unique<odbc::Handle>(SQL_HANDLE_ENV, SQLHANDLE{SQL_NULL_HANDLE})) {
    environment_->Check(SQLSetEnvAttr(environment_->get(), SQL_ATTR_ODBC_VERSION,
                                      reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0));
}

Connection::~Connection() {
    Close();
}

void Connection::Open(const std::u16string& connectionString) {
    if (open_) {
        throw AdoError(kErrorObjectOpen, u"The connection is already open");
    }
    connection_ = std::make_unique<odbc::Handle>(SQL_HANDLE_DBC, environment_->get());
    // A data source that accepts the connection and never answers would
    // otherwise hold the caller for good.
    connection_->Check(SQLSetConnectAttrW(connection_->get(), SQL_ATTR_LOGIN_TIMEOUT,
                                          odbc::Seconds(connectionTimeout_), 0));
    odbc::SqlText text = odbc::ToSql(connectionString);
    const SQLRETURN result = SQLDriverConnectW(connection_->get(), nullptr, text.data(),
                                               static_cast<SQLSMALLINT>(text.size()), nullptr, 0,
                                               nullptr, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(result)) {
        AdoError error = odbc::Diagnostics(SQL_HANDLE_DBC, connection_->get());
        connection_.reset();
        throw error;
    }
    open_ = true;
}

void Connection::Close() {
    if (!open_) {
        return;
    }
    if (inTransaction_) {
        try {
            EndTransaction(false);
        } catch (const AdoError&) {
            // Disconnecting drops the transaction all the same.
        }
    }
    SQLDisconnect(connection_->get());
    connection_.reset();
    open_ = false;
}

void* Connection::NativeHandle() const {
    if (!open_) {
        throw AdoError(kErrorObjectClosed, u"The connection is not open");
    }
    return connection_->get();
}

void Connection::BeginTrans() {
    if (!open_) {
        throw AdoError(kErrorObjectClosed, u"The connection is not open");
    }
    if (inTransaction_) {
        throw AdoError(kErrorNotAllowed, u"A transaction is already open");
    }
    connection_->Check(SQLSetConnectAttrW(connection_->get(), SQL_ATTR_AUTOCOMMIT,
                                          reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0));
    inTransaction_ = true;
}

void Connection::CommitTrans() {
    std::optional<AdoError> refusal;
    try {
        SendHeldRows();
    } catch (const AdoError& error) {
        refusal = error;
    }
    if (!refusal && refusedRows_) {
        refusal = refusedRows_;
    }
    if (refusal && inTransaction_) {
        try {
            EndTransaction(false);
        } catch (const AdoError&) {
            // The refusal says more than a failed rollback.
        }
        throw *refusal;
    }
    EndTransaction(true);
}

void Connection::RollbackTrans() {
    EndTransaction(false);
}

void Connection::Hold(HeldRows& rows) {
    if (std::find(held_.begin(), held_.end(), &rows) == held_.end()) {
        held_.push_back(&rows);
    }
}

void Connection::Release(HeldRows& rows) {
    held_.erase(std::remove(held_.begin(), held_.end(), &rows), held_.end());
}

void Connection::SendHeldRows() {
    // Each one releases itself as it sends.
    while (!held_.empty()) {
        held_.front()->Send();
    }
}

void Connection::NoteRefusedRows(const AdoError& refusal) {
    if (inTransaction_ && !refusedRows_) {
        refusedRows_ = refusal;
    }
}

void Connection::ForgetHeldRows() {
    const std::vector<HeldRows*> held = std::move(held_);
    held_.clear();
    for (HeldRows* rows : held) {
        rows->Forget();
    }
}

void Connection::EndTransaction(bool commit) {
    if (!inTransaction_) {
        throw AdoError(kErrorNotAllowed, u"No transaction is open");
    }
    // Rows held back for a transaction that does not commit must never
    // reach the table afterwards.
    if (!commit) {
        ForgetHeldRows();
    }
    SQLHDBC handle = connection_->get();
    const SQLRETURN result = SQLEndTran(SQL_HANDLE_DBC, handle, commit ? SQL_COMMIT : SQL_ROLLBACK);
    std::optional<AdoError> failure;
    if (!SQL_SUCCEEDED(result)) {
        failure = odbc::Diagnostics(SQL_HANDLE_DBC, handle);
        // Switching autocommit back on would commit what is left: drop it.
        SQLEndTran(SQL_HANDLE_DBC, handle, SQL_ROLLBACK);
    }
    inTransaction_ = false;
    refusedRows_.reset();
    SQLSetConnectAttrW(handle, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON),
                       0);
    if (failure) {
        throw *failure;
    }
}

Transaction::Transaction(Connection& connection) : connection_(connection) {
    connection_.BeginTrans();
}

Transaction::~Transaction() {
    if (!done_) {
        try {
            connection_.RollbackTrans();
        } catch (const AdoError&) {
            // A connection that is gone has dropped the transaction itself.
        }
    }
}

void Transaction::Commit() {
    done_ = true;
    connection_.CommitTrans();
}

}  // namespace wexal::ado
