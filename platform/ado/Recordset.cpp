#include "platform/ado/Recordset.h"

#include <algorithm>

#include "platform/ado/Connection.h"
#include "platform/ado/OdbcStatement.h"

namespace wexal::ado {
namespace {

// A statement on the connection that keeps to its command timeout, as a
// recordset's queries and inserts do.
std::unique_ptr<odbc::Statement> StatementOn(const Connection& connection) {
    return std::make_unique<odbc::Statement>(static_cast<SQLHDBC>(connection.NativeHandle()),
                                             connection.CommandTimeout());
}

// Rows sent in one statement: many fewer statements, yet short enough
// texts that reading and planning them stays cheap (PostgreSQL through
// psqlODBC slows down past a thousand or so values a statement).
constexpr std::size_t kRowsPerInsert = 50;
constexpr std::size_t kValuesPerInsert = 1000;

std::size_t RowsPerInsert(const std::vector<std::size_t>& columns) {
    return std::clamp<std::size_t>(kValuesPerInsert / std::max<std::size_t>(columns.size(), 1), 1,
                                   kRowsPerInsert);
}

bool SameNameIgnoringCase(std::u16string_view a, std::u16string_view b) {
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

std::u16string Quoted(const std::u16string& name, const std::u16string& quote) {
    if (quote.empty()) {
        return name;
    }
    std::u16string text = quote;
    for (char16_t c : name) {
        text += c;
        if (std::u16string_view(&c, 1) == quote) {
            text += c;
        }
    }
    return text + quote;
}

}  // namespace

struct Recordset::Column {
    odbc::ColumnInfo info;
};

// --- Field and Fields -------------------------------------------------------

const std::u16string& Field::Name() const {
    recordset_->RequireOpen();
    return recordset_->columns_[index_].info.name;
}

Value Field::GetValue() const {
    recordset_->RequireOpen();
    if (recordset_->adding_) {
        const std::optional<Value>& set = (*recordset_->adding_)[index_];
        return set ? *set : Value();
    }
    if (recordset_->eof_) {
        throw AdoError(kErrorNoCurrentRow, u"There is no current row");
    }
    return recordset_->row_[index_];
}

void Field::SetValue(Value value) {
    recordset_->RequireOpen();
    if (!recordset_->adding_) {
        throw AdoError(kErrorNotAllowed, u"Values can only be set on a row being added");
    }
    (*recordset_->adding_)[index_] = std::move(value);
}

std::size_t Fields::Count() const {
    recordset_->RequireOpen();
    return recordset_->columns_.size();
}

Field Fields::Item(std::u16string_view name) const {
    recordset_->RequireOpen();
    const auto& columns = recordset_->columns_;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (SameNameIgnoringCase(columns[i].info.name, name)) {
            return Field(*recordset_, i);
        }
    }
    throw AdoError(kErrorNoSuchItem, u"No column named " + std::u16string(name));
}

Field Fields::ItemAt(std::size_t index) const {
    recordset_->RequireOpen();
    if (index >= recordset_->columns_.size()) {
        throw AdoError(kErrorNoSuchItem, u"No column at that position");
    }
    return Field(*recordset_, index);
}

// --- Recordset --------------------------------------------------------------

Recordset::Recordset() = default;

Recordset::~Recordset() {
    try {
        Send();
    } catch (const AdoError&) {
        // Noted by the connection: its transaction will not commit.
    }
}

void Recordset::RequireOpen() const {
    if (!IsOpen()) {
        throw AdoError(kErrorObjectClosed, u"The recordset is not open");
    }
}

void Recordset::Open(std::u16string_view source, std::shared_ptr<Connection> connection) {
    if (IsOpen()) {
        throw AdoError(kErrorObjectOpen, u"The recordset is already open");
    }
    if (!connection) {
        throw AdoError(kErrorObjectClosed, u"The recordset has no connection");
    }
    auto statement = StatementOn(*connection);
    // The query sees the rows added before it.
    connection->SendHeldRows();
    statement->Execute(source);
    const SQLSMALLINT count = statement->ColumnCount();
    std::vector<Column> columns;
    for (SQLSMALLINT column = 1; column <= count; ++column) {
        columns.push_back(Column{statement->Describe(static_cast<SQLUSMALLINT>(column))});
    }
    const bool hasRow = count > 0 && statement->Fetch();

    connection_ = std::move(connection);
    statement_ = std::move(statement);
    columns_ = std::move(columns);
    row_.assign(columns_.size(), Value());
    eof_ = !hasRow;
    adding_.reset();
    if (hasRow) {
        ReadRow();
    }
}

void Recordset::Close() {
    std::optional<AdoError> refusal;
    try {
        Send();
    } catch (const AdoError& error) {
        refusal = error;
    }
    adding_.reset();
    insert_.reset();
    batchInsert_.reset();
    batchColumns_.clear();
    statement_.reset();
    columns_.clear();
    row_.clear();
    eof_ = true;
    connection_.reset();
    if (refusal) {
        throw *refusal;
    }
}

Fields Recordset::GetFields() {
    RequireOpen();
    return Fields(*this);
}

bool Recordset::IsEOF() const {
    RequireOpen();
    return eof_;
}

void Recordset::ReadRow() {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        row_[i] = statement_->Read(static_cast<SQLUSMALLINT>(i + 1));
    }
}

void Recordset::MoveNext() {
    RequireOpen();
    if (adding_) {
        Update();
    }
    if (eof_) {
        throw AdoError(kErrorNoCurrentRow, u"There is no current row");
    }
    eof_ = !statement_->Fetch();
    if (!eof_) {
        ReadRow();
    }
}

void Recordset::AddNew() {
    RequireOpen();
    if (adding_) {
        Update();
    }
    adding_.emplace(columns_.size());
}

std::u16string Recordset::InsertText(const std::vector<std::size_t>& set, std::size_t rows) const {
    // The table is the one that the first column set (or the first column)
    // comes from; every column set must come from it too.
    const std::size_t first = set.empty() ? 0 : set.front();
    if (columns_.empty() || columns_[first].info.baseTable.empty()) {
        throw AdoError(kErrorNotAllowed, u"The query's rows do not come from a table");
    }
    const odbc::ColumnInfo& table = columns_[first].info;
    for (std::size_t index : set) {
        const odbc::ColumnInfo& column = columns_[index].info;
        if (column.baseTable != table.baseTable || column.schemaName != table.schemaName ||
            column.baseName.empty()) {
            throw AdoError(kErrorNotAllowed, u"The columns set do not come from one table");
        }
    }

    std::u16string quote = odbc::IdentifierQuote(static_cast<SQLHDBC>(connection_->NativeHandle()));
    if (quote == u" ") {
        quote.clear();
    }
    std::u16string text = u"INSERT INTO ";
    if (!table.schemaName.empty()) {
        text += Quoted(table.schemaName, quote) + u".";
    }
    text += Quoted(table.baseTable, quote);
    if (set.empty()) {
        return text + u" DEFAULT VALUES";
    }
    std::u16string names;
    std::u16string marks;
    for (std::size_t index : set) {
        names += (names.empty() ? u"" : u", ") + Quoted(columns_[index].info.baseName, quote);
        marks += marks.empty() ? u"(?" : u", ?";
    }
    marks += u")";
    text += u" (" + names + u") VALUES " + marks;
    for (std::size_t row = 1; row < rows; ++row) {
        text += u", " + marks;
    }
    return text;
}

void Recordset::Insert(const std::vector<std::size_t>& set, const std::vector<Value>& values,
                       std::size_t rows) {
    // A full batch of the same columns again: read and planned once.
    if (!set.empty() && rows == RowsPerInsert(set)) {
        if (!batchInsert_ || batchColumns_ != set) {
            batchInsert_.reset();
            auto statement = StatementOn(*connection_);
            statement->Prepare(InsertText(set, rows));
            batchInsert_ = std::move(statement);
            batchColumns_ = set;
        }
        batchInsert_->ExecutePrepared(values);
        return;
    }
    if (!insert_) {
        insert_ = StatementOn(*connection_);
    }
    // Rows of nothing but defaults cannot share a statement.
    const std::size_t statements = set.empty() ? rows : 1;
    const std::u16string text = InsertText(set, set.empty() ? 1 : rows);
    for (std::size_t i = 0; i < statements; ++i) {
        insert_->Reset();
        insert_->Execute(text, values);
    }
}

void Recordset::Update() {
    RequireOpen();
    if (!adding_) {
        throw AdoError(kErrorNotAllowed, u"No row is being added");
    }
    // The row is gone whether or not the table takes it.
    const std::vector<std::optional<Value>> values = std::move(*adding_);
    adding_.reset();

    std::vector<std::size_t> set;
    std::vector<Value> parameters;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i]) {
            set.push_back(i);
            parameters.push_back(*values[i]);
        }
    }
    if (!connection_->InTransaction()) {
        Insert(set, parameters, 1);
        return;
    }
    if (held_.rows > 0 && held_.columns != set) {
        Send();
    }
    if (held_.rows == 0) {
        // Checked now, so that a row that no table takes is refused at once.
        InsertText(set, 1);
        held_.columns = set;
        connection_->Hold(*this);
    }
    held_.values.insert(held_.values.end(), std::make_move_iterator(parameters.begin()),
                        std::make_move_iterator(parameters.end()));
    ++held_.rows;
    if (held_.rows == RowsPerInsert(set)) {
        Send();
    }
}

void Recordset::Send() {
    if (held_.rows == 0) {
        return;
    }
    const Held held = std::move(held_);
    held_ = Held{};
    connection_->Release(*this);
    try {
        Insert(held.columns, held.values, held.rows);
    } catch (const AdoError& error) {
        connection_->NoteRefusedRows(error);
        throw;
    }
}

void Recordset::Forget() {
    held_ = Held{};
}

}  // namespace wexal::ado
