// The upload side of the workbook link: writes the readings of a route into
// the cells of their meters' rows, in the columns that the reading map
// places relative to the "USAGE" column.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "conduit/formats/ExcelFile.h"
#include "platform/billingfile/BillingFileLock.h"

class ExcelMeter;
class HHMeter;
class WexalConfig;

class ExcelReading {
  public:
    // A reading whose row lies outside the worksheet's data rows.
    static constexpr std::int32_t kRowOutsideData = 1413;
    // A row that no longer holds the meter that the download read from it.
    static constexpr std::int32_t kRowChanged = 1414;
    // The mappings put two fields into one column (logged).
    static constexpr std::int32_t kFieldsShareColumn = 183;

    ExcelReading();
    // Saves, closes and quits when still open.
    virtual ~ExcelReading();
    ExcelReading(const ExcelReading&) = delete;
    ExcelReading& operator=(const ExcelReading&) = delete;

    // Takes the workbook's billing-file lock, held until the workbook is
    // saved and closed, so that two syncs into one workbook never save over
    // each other's readings. 0 ready; kWorksheetRefused without a data-start
    // row, a "USAGE" heading or with a reading column outside the used range;
    // kFieldsShareColumn when two reading fields, or a reading field and a
    // column that the route map reads, come out on one column; otherwise the
    // code of the failed open or lock. The configuration is borrowed for the
    // object's life.
    std::int32_t Open(std::string workbook, std::string worksheet,
                      const WexalConfig* configuration);
    // 0, kWorksheetRefused or kFieldsShareColumn (called by Open).
    std::int32_t FindColumns();
    // Before the first Write: whether the meter's row still holds that
    // meter, its cells read as the route download reads them giving what
    // the meter record holds of the customer (name, address with the house
    // number, tag and serial number, those that the route map gives a
    // column). 0 when it does; kRowOutsideData or kRowChanged when not, and
    // kWorksheetRefused when the rows cannot be read so (each logged with
    // the route, whose readings must then stay on the handheld).
    std::int32_t CheckRow(const std::string& route, const HHMeter& meter);
    // Writes one reading into the row that the service id names (an empty
    // reading empties the reading cell): 0 written;
    // kRowOutsideData, or the sheet's code for a cell it refused, when not
    // (logged with the service id and the reading); kWorksheetRefused when
    // the open failed.
    std::int32_t Write(std::string serviceUniqueId, std::string curReading, std::string readingDate,
                       std::string readingTime, std::string responseCode, std::string responseText);
    // Saves the readings written and closes the workbook: 0, or the code of
    // a save that failed (the readings are then not in the file).
    std::int32_t SaveAndClose();

  private:
    void LogSharedColumn(const std::string& field, const std::string& other,
                         std::int32_t column) const;
    void LogRefusal(const std::string& serviceUniqueId, const std::string& curReading,
                    const std::string& reason) const;
    void LogRowChanged(const std::string& route, const std::string& serviceUniqueId,
                       std::int64_t row, const std::string& reason) const;
    std::string DataRows() const;

    // Before the file: released only after the file is closed.
    wexal::billingfile::BillingFileLock lock_;
    ExcelFile file_;
    std::int32_t firstRow_ = 0;
    std::int32_t lastRow_ = 0;
    std::int32_t lastColumn_ = 0;
    std::int32_t usageColumn_ = 0;
    std::int32_t curReadingColumn_ = 0;
    std::int32_t readingDateColumn_ = 0;
    std::int32_t readingTimeColumn_ = 0;
    std::int32_t responseCodeColumn_ = 0;
    std::int32_t responseTextColumn_ = 0;
    const WexalConfig* configuration_ = nullptr;
    // Open succeeded: the columns are known.
    bool ready_ = false;
    // Reads the rows for CheckRow from the values of the used range, which
    // are let go at the first Write.
    std::unique_ptr<ExcelMeter> rowReader_;
    bool rowsReadable_ = false;
    bool written_ = false;
};
