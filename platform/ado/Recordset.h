// The rows of a query, read forward one at a time; new rows are added to the
// query's table. Values are texts or NULL.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ado/Connection.h"
#include "platform/ado/Value.h"

namespace wexal::ado {

class Recordset;

namespace odbc {
class Statement;
}

// One column of the recordset; valid while its recordset lives.
class Field {
  public:
    const std::u16string& Name() const;
    // The column's value in the current row, or in the row being added.
    Value GetValue() const;
    // Sets the column of the row being added (AddNew).
    void SetValue(Value value);

  private:
    friend class Fields;
    Field(Recordset& recordset, std::size_t index) : recordset_(&recordset), index_(index) {}

    Recordset* recordset_;
    std::size_t index_;
};

// The columns of the recordset; valid while its recordset lives.
class Fields {
  public:
    std::size_t Count() const;
    // The column of that name, whatever its letter case (the database may
    // fold the names of its columns). Throws AdoError when there is none.
    Field Item(std::u16string_view name) const;
    // The column at a position of the result, from 0.
    Field ItemAt(std::size_t index) const;

  private:
    friend class Recordset;
    explicit Fields(Recordset& recordset) : recordset_(&recordset) {}

    Recordset* recordset_;
};

class Recordset : private HeldRows {
  public:
    Recordset();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Runs the query on the connection and moves to its first row. Throws
    // AdoError when the connection is not open or the query fails.
    void Open(std::u16string_view source, std::shared_ptr<Connection> connection);
    bool IsOpen() const { return statement_ != nullptr; }
    // Sends the rows held back (see Update) and closes; throws AdoError when
    // the table refuses them, closed all the same.
    void Close();

    Fields GetFields();
    // After the last row (or at once, when the query found none).
    bool IsEOF() const;
    void MoveNext();

    // Starts a new row with every column unset; SetValue fills it.
    void AddNew();
    // Inserts the row being added into the table that its columns come from:
    // the columns that were set, with their values bound as parameters; the
    // rest is left to the table's defaults. Throws AdoError when the table
    // refuses it (the row is then dropped).
    //
    // Inside a transaction of the connection the row is held back and sent
    // with the rows added after it, many in one statement, once enough are
    // held, before the next row with other columns set, before any other
    // statement on the connection, at Close and at the commit. A refusal may
    // then surface at any of these, and takes the rows sent with it; the
    // commit of that transaction rolls back and throws it.
    void Update();

  private:
    friend class Field;
    friend class Fields;

    struct Column;
    // Added rows held back: their columns set, and their values row by row.
    struct Held {
        std::vector<std::size_t> columns;
        std::vector<Value> values;
        std::size_t rows = 0;
    };

    void RequireOpen() const;
    void ReadRow();
    std::u16string InsertText(const std::vector<std::size_t>& columns, std::size_t rows) const;
    void Insert(const std::vector<std::size_t>& columns, const std::vector<Value>& values,
                std::size_t rows);
    void Send() override;
    void Forget() override;

    std::shared_ptr<Connection> connection_;
    std::unique_ptr<odbc::Statement> statement_;
    std::unique_ptr<odbc::Statement> insert_;
    // The prepared insert of a full batch, and the columns it sets.
    std::unique_ptr<odbc::Statement> batchInsert_;
    std::vector<std::size_t> batchColumns_;
    std::vector<Column> columns_;
    std::vector<Value> row_;
    bool eof_ = true;
    // The row being added: each column's value once set.
    std::optional<std::vector<std::optional<Value>>> adding_;
    Held held_;
};

}  // namespace wexal::ado
