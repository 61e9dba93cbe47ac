// Reading the rows of a query, and adding rows to its table.
#include <gtest/gtest.h>

#include "platform/ado/Connection.h"
#include "platform/ado/Recordset.h"
#include "tests/platform/ado/ErrorOf.h"
#include "tests/sql/BillingDatabase.h"

namespace wexal::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

class RecordsetTest : public BillingDatabaseTest {
  protected:
    void SetUp() override {
        BillingDatabaseTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        connection_ = std::make_shared<ado::Connection>();
        connection_->Open(BillingConnectString());
    }

    void Open(const std::u16string& source) { recordset_.Open(source, connection_); }

    std::shared_ptr<ado::Connection> connection_;
    ado::Recordset recordset_;
};

TEST_F(RecordsetTest, ReadsEveryRowThenStopsAtEOF) {
    Open(
        u"Select ServiceUniqueID, Message from BillingService "
        u"where RouteBook = '01' Order by RouteSequence");
    const ado::Fields fields = recordset_.GetFields();
    ASSERT_EQ(fields.Count(), 2u);
    std::vector<std::pair<std::string, std::string>> rows;
    for (; !recordset_.IsEOF(); recordset_.MoveNext()) {
        const ado::Value message = fields.Item(u"Message").GetValue();
        rows.emplace_back(Utf8(*fields.Item(u"ServiceUniqueID").GetValue()),
                          message ? Utf8(*message) : "<NULL>");
    }
    EXPECT_EQ(rows, (std::vector<std::pair<std::string, std::string>>{
                        {"100-0001", "Dog in yard"},
                        {"100-0002", "<NULL>"},
                        {"100-0003", "Meter behind gate"}}));
    EXPECT_EQ(ErrorOf([&] { recordset_.MoveNext(); }).Code(), ado::kErrorNoCurrentRow);
    EXPECT_EQ(ErrorOf([&] { fields.Item(u"Message").GetValue(); }).Code(), ado::kErrorNoCurrentRow);

    recordset_.Close();
    EXPECT_EQ(ErrorOf([&] { fields.Count(); }).Code(), ado::kErrorObjectClosed);
    Open(u"Select * from BillingService where RouteBook = 'none'");
    EXPECT_TRUE(recordset_.IsEOF());
    EXPECT_EQ(ErrorOf([&] { Open(u"Select 1"); }).Code(), ado::kErrorObjectOpen);
}

TEST_F(RecordsetTest, ColumnsAreFoundInAnyLetterCase) {
    Open(u"Select RouteBook from WexalRouteList union all select 'x'");
    const ado::Fields fields = recordset_.GetFields();
    // PostgreSQL folds the unquoted name.
    EXPECT_EQ(fields.ItemAt(0).Name(), u"routebook");
    EXPECT_EQ(*fields.Item(u"ROUTEBOOK").GetValue(), u"x");
    EXPECT_EQ(*fields.Item(u"RouteBook").GetValue(), u"x");
    EXPECT_EQ(ErrorOf([&] { fields.Item(u"RouteBooks"); }).Code(), ado::kErrorNoSuchItem);
    EXPECT_EQ(ErrorOf([&] { fields.ItemAt(1); }).Code(), ado::kErrorNoSuchItem);
}

TEST_F(RecordsetTest, EveryValueIsReadAsText) {
    Open(
        u"Select 42 as n, 1.50::numeric(5,2) as d, NULL::int as nothing, "
        u"repeat('x', 3000) || '\u00E9' as long, 'Z\u00FCrich \U0001F600' as wide");
    const ado::Fields fields = recordset_.GetFields();
    EXPECT_EQ(fields.Item(u"n").GetValue(), u"42");
    EXPECT_EQ(fields.Item(u"d").GetValue(), u"1.50");
    EXPECT_EQ(fields.Item(u"nothing").GetValue(), std::nullopt);
    EXPECT_EQ(fields.Item(u"long").GetValue(), std::u16string(3000, u'x') + u"\u00E9");
    EXPECT_EQ(fields.Item(u"wide").GetValue(), u"Z\u00FCrich \U0001F600");
}

TEST_F(RecordsetTest, FailedQueryLeavesTheRecordsetClosed) {
    const ado::AdoError error = ErrorOf([&] { Open(u"Select * from NoSuchTable"); });
    EXPECT_EQ(error.SqlState(), u"42P01");
    EXPECT_FALSE(recordset_.IsOpen());
    Open(u"Select 1 as one");
    EXPECT_FALSE(recordset_.IsEOF());
}

TEST_F(RecordsetTest, AddedRowGetsTheColumnsSetAndTheTablesDefaults) {
    Open(u"Select * from WexalReading");
    ASSERT_TRUE(recordset_.IsEOF());
    const ado::Fields fields = recordset_.GetFields();
    const char16_t* const columns[] = {
        u"HandHeldID",    u"ServiceUniqueID", u"MeterTagNbr",  u"MeterSerialNbr", u"MeterType",
        u"RouteSequence", u"Digits",          u"CurReading",   u"BillingName",    u"ServiceAddress",
        u"Message",       u"Status",          u"ResponseCode", u"ResponseText",   u"PrvReading",
        u"MaxReading",    u"MinReading",      u"ReadingDate",  u"ReadingTime"};
    for (int row = 1; row <= 2; ++row) {
        recordset_.AddNew();
        for (const char16_t* column : columns) {
            fields.Item(column).SetValue(u"");
        }
        fields.Item(u"HandHeldID").SetValue(u"UNIT0" + std::u16string(1, u'0' + row));
        fields.Item(u"BillingName").SetValue(u"Ren\u00E9e O'Neil");
        EXPECT_EQ(fields.Item(u"BillingName").GetValue(), u"Ren\u00E9e O'Neil");
        EXPECT_EQ(fields.Item(u"ReadingId").GetValue(), std::nullopt);  // not set
        recordset_.Update();
    }
    recordset_.Close();
    EXPECT_EQ(billing_->Rows("SELECT ReadingId, HandHeldID, BillingName, Message, "
                             "ReceivedAt IS NOT NULL FROM WexalReading ORDER BY ReadingId"),
              (Rows{{"1", "UNIT01",
                     "Ren\xC3\xA9"
                     "e O'Neil",
                     "", "1"},
                    {"2", "UNIT02",
                     "Ren\xC3\xA9"
                     "e O'Neil",
                     "", "1"}}));
}

TEST_F(RecordsetTest, RefusedRowIsDroppedAndTheNextOneStored) {
    RefusedRows refused(*billing_, "WexalSelectedRoute", "ServiceUniqueID <> 'BAD'");
    Open(u"Select * from WexalSelectedRoute");
    const ado::Fields fields = recordset_.GetFields();
    recordset_.AddNew();
    fields.Item(u"ServiceUniqueID").SetValue(u"BAD");
    EXPECT_EQ(ErrorOf([&] { recordset_.Update(); }).SqlState(), u"23514");
    EXPECT_EQ(ErrorOf([&] { recordset_.Update(); }).Code(), ado::kErrorNotAllowed);
    recordset_.AddNew();
    fields.Item(u"ServiceUniqueID").SetValue(u"GOOD");
    fields.Item(u"Message").SetValue(std::nullopt);
    recordset_.Update();
    EXPECT_EQ(billing_->Rows("SELECT ServiceUniqueID, Message, Status FROM WexalSelectedRoute"),
              (Rows{{"GOOD", "<NULL>", "<NULL>"}}));
}

TEST_F(RecordsetTest, ValuesAreSetOnlyOnARowBeingAdded) {
    Open(u"Select * from WexalRouteList union all select 'x'");
    EXPECT_EQ(ErrorOf([&] { recordset_.GetFields().Item(u"RouteBook").SetValue(u"y"); }).Code(),
              ado::kErrorNotAllowed);
    recordset_.Close();

    // A computed column comes from no table.
    Open(u"Select 1 as one");
    recordset_.AddNew();
    recordset_.GetFields().Item(u"one").SetValue(u"2");
    EXPECT_EQ(ErrorOf([&] { recordset_.Update(); }).Code(), ado::kErrorNotAllowed);
}

// Inside a transaction added rows travel many to a statement: whatever runs
// next on the connection sees them, a refused one takes the whole
// transaction with it, and a rollback leaves nothing to send.
TEST_F(RecordsetTest, RowsAddedInATransactionArriveTogetherOrNotAtAll) {
    RefusedRows refused(*billing_, "WexalSelectedRoute", "ServiceUniqueID <> 'BAD'");
    const auto addRows = [&](int count, int badRow) {
        const ado::Fields fields = recordset_.GetFields();
        for (int row = 1; row <= count; ++row) {
            recordset_.AddNew();
            fields.Item(u"ServiceUniqueID")
                .SetValue(row == badRow ? u"BAD" : u"S" + Wide(std::to_string(row)));
            // Rows with other columns set go in statements of their own.
            if (row > 400) {
                fields.Item(u"Message").SetValue(u"gate");
            }
            recordset_.Update();
        }
    };
    const auto countIn = [&](const std::u16string& query) {
        ado::Recordset count;
        count.Open(query, connection_);
        return Utf8(*count.GetFields().ItemAt(0).GetValue());
    };

    // Committed: every row, and a query in the transaction sees them before.
    {
        ado::Transaction transaction(*connection_);
        Open(u"Select * from WexalSelectedRoute");
        addRows(450, 0);
        EXPECT_EQ(countIn(u"Select count(*) from WexalSelectedRoute"), "450");
        addRows(5, 0);
        recordset_.Close();
        transaction.Commit();
    }
    EXPECT_EQ(billing_->Scalar("SELECT count(*) FROM WexalSelectedRoute"), "455");
    EXPECT_EQ(billing_->Scalar("SELECT count(*) FROM WexalSelectedRoute WHERE Message = 'gate'"),
              "50");
    billing_->Execute("DELETE FROM WexalSelectedRoute");

    // One refused row: the commit throws it and nothing is stored, whether
    // the refusal surfaced while adding or only at the commit.
    for (const int badRow : {3, 301, 449}) {
        ado::Transaction transaction(*connection_);
        Open(u"Select * from WexalSelectedRoute");
        try {
            addRows(450, badRow);
        } catch (const ado::AdoError& error) {
            EXPECT_EQ(error.SqlState(), u"23514") << badRow;
        }
        try {
            recordset_.Close();
        } catch (const ado::AdoError& error) {
            EXPECT_EQ(error.SqlState(), u"23514") << badRow;  // closed all the same
        }
        EXPECT_EQ(ErrorOf([&] { transaction.Commit(); }).SqlState(), u"23514") << badRow;
        EXPECT_FALSE(connection_->InTransaction());
        EXPECT_EQ(billing_->Scalar("SELECT count(*) FROM WexalSelectedRoute"), "0") << badRow;
    }

    // A refusal at the commit leaves no other recordset's rows to be sent
    // after the rollback.
    {
        ado::Transaction transaction(*connection_);
        Open(u"Select * from WexalSelectedRoute");
        ado::Recordset refusing;
        refusing.Open(u"Select * from WexalSelectedRoute", connection_);
        refusing.AddNew();
        refusing.GetFields().Item(u"ServiceUniqueID").SetValue(u"BAD");
        refusing.Update();
        addRows(10, 0);
        EXPECT_EQ(ErrorOf([&] { transaction.Commit(); }).SqlState(), u"23514");
    }
    recordset_.Close();
    EXPECT_EQ(billing_->Scalar("SELECT count(*) FROM WexalSelectedRoute"), "0");

    // Rolled back: the held rows are forgotten, not sent later.
    {
        ado::Transaction transaction(*connection_);
        Open(u"Select * from WexalSelectedRoute");
        addRows(50, 0);
        connection_->RollbackTrans();
    }
    recordset_.Close();
    EXPECT_EQ(billing_->Scalar("SELECT count(*) FROM WexalSelectedRoute"), "0");
}

}  // namespace
}  // namespace wexal::testing
