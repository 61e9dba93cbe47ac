// The download side of the workbook link: hands out one meter per worksheet
// row that holds a house number, its fields taken from the columns that the
// route map names. Reads the configuration file itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "conduit/WexalConfig.h"
#include "conduit/formats/ExcelFile.h"
#include "conduit/formats/ExcelRouteColumns.h"

class ExcelMeter {
  public:
    // Read found no further row holding a meter.
    static constexpr std::int32_t kNoMoreMeters = 38;

    explicit ExcelMeter(std::string route);
    // Closes the workbook without saving and quits.
    virtual ~ExcelMeter();
    ExcelMeter(const ExcelMeter&) = delete;
    ExcelMeter& operator=(const ExcelMeter&) = delete;

    // 0 ready; kWorksheetRefused without a data-start row, a required
    // mapping, a "USAGE" heading, or with a mapped column outside the used
    // range; otherwise the code of the failed open. Every setting comes from
    // the object's own configuration, not from the argument.
    std::int32_t Open(std::string workbook, std::string worksheet,
                      const WexalConfig* configuration);
    // Reads the worksheet that another object has opened and whose values it
    // still holds, for the readings writer to see its rows as the download
    // sees them: 0 ready, or kWorksheetRefused as Open gives it. `file`
    // must outlive the reader.
    std::int32_t Attach(const ExcelFile& file);
    // 0, or kWorksheetRefused (called by Open and Attach).
    std::int32_t FindColumns();
    // 0 when the fields hold the next meter, kNoMoreMeters at the end.
    std::int32_t Read();
    // The fields of the meter of one row, as Read fills them: 0, or
    // kNoMoreMeters when the row holds none or lies outside the used rows.
    std::int32_t ReadRow(std::int32_t row);
    // Whether the route map gives the field a column of its own, which Read
    // reads (after an Open or Attach that returned 0).
    bool ReadsColumnOf(std::string_view mapping) const;

    std::string ServiceUniqueID;
    std::string BillingName;
    std::string ServiceAddress;
    std::string Message;
    std::string MeterType;
    std::string MeterTagNbr;
    std::string MeterSerialNbr;
    std::string MaxReading;
    std::string MinReading;
    std::string PrvReading;
    std::string SelectedRoute;
    std::string Digits;
    std::string ReadType;
    std::string UserDef;

  private:
    void ResetFields();
    void FillFields(std::int32_t row);
    void FillServiceAddress(std::int32_t row);
    void FillExpectedRange(std::int32_t row);
    // The text of a street cell: a text, a number's whole value, else empty.
    std::string CellWords(std::int32_t row, std::int32_t column) const;

    // Opened by Open; Attach reads another object's file instead.
    ExcelFile file_;
    const ExcelFile* sheet_ = &file_;
    std::int32_t currentRow_ = 0;
    std::int32_t lastRow_ = 0;
    std::int32_t lastColumn_ = 0;
    std::string route_;
    std::int32_t usageColumn_ = 0;
    std::int32_t houseColumn_ = 0;
    std::int32_t addressColumn_ = 0;
    std::vector<RouteMapColumn> mappedColumns_;
    // Per route field (see the table in the source); 0 when not mapped.
    std::vector<std::int32_t> fieldColumns_;
    // What the house number cell of the row gave.
    bool numericHouse_ = false;
    std::int64_t houseNumber_ = 0;
    std::string houseText_;
    WexalConfig configuration_;
};
