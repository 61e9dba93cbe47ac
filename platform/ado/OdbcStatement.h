// The ODBC calls that the database objects share: handles that free
// themselves, diagnostics turned into AdoError, and one statement that runs a
// SQL text with bound text parameters and reads its rows as text. Internal to
// the layer.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ado/AdoError.h"
#include "platform/ado/Value.h"

namespace wexal::ado::odbc {

// Text in the driver manager's wide characters (UTF-16).
using SqlText = std::basic_string<SQLWCHAR>;
SqlText ToSql(std::u16string_view text);
std::u16string FromSql(const SQLWCHAR* text, std::size_t length);

// The diagnostics of `handle` as an error: every record's message, one per
// line, and the SQLSTATE of the first.
AdoError Diagnostics(SQLSMALLINT type, SQLHANDLE handle);
// Throws the diagnostics unless `result` is a success (with or without info).
void Check(SQLRETURN result, SQLSMALLINT type, SQLHANDLE handle);

// A timeout in seconds as a connection or statement attribute takes it;
// 0 (or less) for no limit.
SQLPOINTER Seconds(std::int32_t seconds);

// One allocated handle, freed on destruction.
class Handle {
  public:
    // Throws AdoError when the handle cannot be allocated.
    Handle(SQLSMALLINT type, SQLHANDLE parent);
    ~Handle();
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    SQLHANDLE get() const { return handle_; }
    SQLSMALLINT type() const { return type_; }
    void Check(SQLRETURN result) const { odbc::Check(result, type_, handle_); }

  private:
    SQLSMALLINT type_;
    SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

// What the driver reports of one result column.
struct ColumnInfo {
    std::u16string name;        // the column's label in the result
    std::u16string baseName;    // its name in its table
    std::u16string baseTable;   // the table it comes from, when one
    std::u16string schemaName;  // that table's schema, when known
};

class Statement {
  public:
    // Each run of the statement gives up after `timeoutSeconds` (0: never).
    Statement(SQLHDBC connection, std::int32_t timeoutSeconds);

    // Runs `sql` with `parameters` bound in order to its "?" marks. A
    // statement that finds no rows to change is a success.
    void Execute(std::u16string_view sql, const std::vector<Value>& parameters = {});
    // The same in two steps, for a text run many times: the database reads
    // and plans it once.
    void Prepare(std::u16string_view sql);
    void ExecutePrepared(const std::vector<Value>& parameters);
    // Columns of the result; 0 when the statement returns no rows.
    SQLSMALLINT ColumnCount();
    ColumnInfo Describe(SQLUSMALLINT column);
    // Moves to the next row: false after the last.
    bool Fetch();
    // The column of the current row as text; columns must be read in order.
    Value Read(SQLUSMALLINT column);
    // Discards the rest of the result, so that the statement can run again.
    void Reset();

  private:
    std::u16string Attribute(SQLUSMALLINT column, SQLUSMALLINT field);
    // Binds the parameters, runs `run` and lets go of them.
    template <class Run>
    void WithParameters(const std::vector<Value>& parameters, Run run);

    Handle handle_;
};

// The character that quotes identifiers for the connection's driver (a blank
// when it has none).
std::u16string IdentifierQuote(SQLHDBC connection);

}  // namespace wexal::ado::odbc
