#include "platform/ado/OdbcStatement.h"

#include <algorithm>
#include <optional>

namespace wexal::ado::odbc {

SqlText ToSql(std::u16string_view text) {
    return SqlText(text.begin(), text.end());
}

std::u16string FromSql(const SQLWCHAR* text, std::size_t length) {
    return std::u16string(text, text + length);
}

AdoError Diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    std::u16string message;
    std::u16string firstState;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        std::vector<SQLWCHAR> text(1024);
        SQLRETURN result = SQLGetDiagRecW(type, handle, record, state, &native, text.data(),
                                          static_cast<SQLSMALLINT>(text.size()), &length);
        if (result == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(text.size())) {
            text.resize(static_cast<std::size_t>(length) + 1);
            result = SQLGetDiagRecW(type, handle, record, state, &native, text.data(),
                                    static_cast<SQLSMALLINT>(text.size()), &length);
        }
        if (!SQL_SUCCEEDED(result)) {
            break;
        }
        if (record == 1) {
            firstState = FromSql(state, 5);
        } else {
            message += u'\n';
        }
        const auto shown = std::min<std::size_t>(
            static_cast<std::size_t>(std::max<SQLSMALLINT>(length, 0)), text.size() - 1);
        message += FromSql(text.data(), shown);
    }
    return AdoError(kErrorFailed, std::move(message), std::move(firstState));
}

void Check(SQLRETURN result, SQLSMALLINT type, SQLHANDLE handle) {
    if (!SQL_SUCCEEDED(result)) {
        throw Diagnostics(type, handle);
    }
}

SQLPOINTER Seconds(std::int32_t seconds) {
    return reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(std::max<std::int32_t>(seconds, 0)));
}

Handle::Handle(SQLSMALLINT type, SQLHANDLE parent) : type_(type) {
    const SQLRETURN result = SQLAllocHandle(type, parent, &handle_);
    if (!SQL_SUCCEEDED(result)) {
        handle_ = SQL_NULL_HANDLE;
        if (type == SQL_HANDLE_ENV || parent == SQL_NULL_HANDLE) {
            throw AdoError(kErrorFailed, u"The ODBC driver manager cannot be started");
        }
        throw Diagnostics(type == SQL_HANDLE_DBC ? SQL_HANDLE_ENV : SQL_HANDLE_DBC, parent);
    }
}

Handle::~Handle() {
    if (handle_ != SQL_NULL_HANDLE) {
        SQLFreeHandle(type_, handle_);
    }
}

Statement::Statement(SQLHDBC connection, std::int32_t timeoutSeconds)
    : handle_(SQL_HANDLE_STMT, connection) {
    // PostgreSQL's driver makes this the server's statement timeout, which
    // also ends a wait for another session's lock.
    handle_.Check(
        SQLSetStmtAttrW(handle_.get(), SQL_ATTR_QUERY_TIMEOUT, Seconds(timeoutSeconds), 0));
}

template <class Run>
void Statement::WithParameters(const std::vector<Value>& parameters, Run run) {
    // The bound buffers must stay where they are until the statement has run.
    std::vector<SqlText> texts;
    std::vector<SQLLEN> lengths(parameters.size());
    texts.reserve(parameters.size());
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const Value& value = parameters[i];
        texts.push_back(value ? ToSql(*value) : SqlText());
        SqlText& text = texts.back();
        const auto bytes = static_cast<SQLLEN>(text.size() * sizeof(SQLWCHAR));
        lengths[i] = value ? bytes : SQL_NULL_DATA;
        // An empty text still needs a column size of at least one.
        const SQLULEN size = std::max<SQLULEN>(text.size(), 1);
        handle_.Check(SQLBindParameter(handle_.get(), static_cast<SQLUSMALLINT>(i + 1),
                                       SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, size, 0,
                                       text.data(), bytes, &lengths[i]));
    }
    const SQLRETURN result = run();
    // Taken before the buffers are let go of, which clears them.
    std::optional<AdoError> failure;
    if (result != SQL_NO_DATA && !SQL_SUCCEEDED(result)) {
        failure = Diagnostics(handle_.type(), handle_.get());
    }
    // The buffers go away now: nothing may point at them any longer.
    SQLFreeStmt(handle_.get(), SQL_RESET_PARAMS);
    if (failure) {
        throw *failure;
    }
}

void Statement::Execute(std::u16string_view sql, const std::vector<Value>& parameters) {
    SqlText statement = ToSql(sql);
    WithParameters(parameters, [&] {
        return SQLExecDirectW(handle_.get(), statement.data(),
                              static_cast<SQLINTEGER>(statement.size()));
    });
}

void Statement::Prepare(std::u16string_view sql) {
    SqlText statement = ToSql(sql);
    handle_.Check(
        SQLPrepareW(handle_.get(), statement.data(), static_cast<SQLINTEGER>(statement.size())));
}

void Statement::ExecutePrepared(const std::vector<Value>& parameters) {
    WithParameters(parameters, [&] { return SQLExecute(handle_.get()); });
}

SQLSMALLINT Statement::ColumnCount() {
    SQLSMALLINT count = 0;
    handle_.Check(SQLNumResultCols(handle_.get(), &count));
    return count;
}

std::u16string Statement::Attribute(SQLUSMALLINT column, SQLUSMALLINT field) {
    std::vector<SQLWCHAR> text(256);
    SQLSMALLINT bytes = 0;
    SQLRETURN result =
        SQLColAttributeW(handle_.get(), column, field, text.data(),
                         static_cast<SQLSMALLINT>(text.size() * sizeof(SQLWCHAR)), &bytes, nullptr);
    if (result == SQL_SUCCESS_WITH_INFO &&
        static_cast<std::size_t>(bytes) >= text.size() * sizeof(SQLWCHAR)) {
        text.resize(static_cast<std::size_t>(bytes) / sizeof(SQLWCHAR) + 1);
        result = SQLColAttributeW(handle_.get(), column, field, text.data(),
                                  static_cast<SQLSMALLINT>(text.size() * sizeof(SQLWCHAR)), &bytes,
                                  nullptr);
    }
    handle_.Check(result);
    const std::size_t length =
        std::min(static_cast<std::size_t>(std::max<SQLSMALLINT>(bytes, 0)) / sizeof(SQLWCHAR),
                 text.size() - 1);
    return FromSql(text.data(), length);
}

ColumnInfo Statement::Describe(SQLUSMALLINT column) {
    return ColumnInfo{
        Attribute(column, SQL_DESC_NAME), Attribute(column, SQL_DESC_BASE_COLUMN_NAME),
        Attribute(column, SQL_DESC_BASE_TABLE_NAME), Attribute(column, SQL_DESC_SCHEMA_NAME)};
}

bool Statement::Fetch() {
    const SQLRETURN result = SQLFetch(handle_.get());
    if (result == SQL_NO_DATA) {
        return false;
    }
    handle_.Check(result);
    return true;
}

Value Statement::Read(SQLUSMALLINT column) {
    std::u16string value;
    SQLWCHAR chunk[512];
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN result =
            SQLGetData(handle_.get(), column, SQL_C_WCHAR, chunk, sizeof chunk, &indicator);
        if (result == SQL_NO_DATA) {
            break;
        }
        handle_.Check(result);
        if (indicator == SQL_NULL_DATA) {
            return std::nullopt;
        }
        // A part that does not fit fills the buffer but for its terminator,
        // and the next call gives what follows.
        const std::size_t room = std::size(chunk) - 1;
        const bool whole = indicator != SQL_NO_TOTAL &&
                           static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR) <= room;
        value +=
            FromSql(chunk, whole ? static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR) : room);
        if (whole) {
            break;
        }
    }
    return value;
}

void Statement::Reset() {
    SQLFreeStmt(handle_.get(), SQL_CLOSE);
}

std::u16string IdentifierQuote(SQLHDBC connection) {
    SQLWCHAR quote[8] = {};
    SQLSMALLINT bytes = 0;
    Check(SQLGetInfoW(connection, SQL_IDENTIFIER_QUOTE_CHAR, quote, sizeof quote, &bytes),
          SQL_HANDLE_DBC, connection);
    return FromSql(quote, std::min<std::size_t>(static_cast<std::size_t>(bytes) / sizeof(SQLWCHAR),
                                                std::size(quote) - 1));
}

}  // namespace wexal::ado::odbc
