// A route-file codec: reads a billing system's route file one meter per
// line into named field texts, and rotates the used file into its history.
// Each vendor's class (AccuFundMeter, ...) is this engine with the vendor's
// layout table and hooks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "conduit/formats/CodecField.h"
#include "conduit/formats/CodecRecord.h"

struct MeterLayout;  // a vendor's columns and rules, in the vendor's source

class VendorMeter {
  public:
    // Results of Read.
    static constexpr std::int32_t kRecordRead = 0;
    static constexpr std::int32_t kEndOfFile = -1;
    static constexpr std::int32_t kWrongMode = -2;
    static constexpr std::int32_t kReadError = -3;  // not an end of file

    explicit VendorMeter(const MeterLayout& layout);
    virtual ~VendorMeter();
    VendorMeter(const VendorMeter&) = delete;
    VendorMeter& operator=(const VendorMeter&) = delete;

    // Opens the route file for reading: 0; kNotRegularFile when it is a FIFO,
    // device or socket (refused without waiting on it); -1 when it cannot be
    // opened otherwise.
    static constexpr std::int32_t kNotRegularFile = -4;
    std::int32_t Open(const std::string& path);
    // Reads the next record into the field texts: kRecordRead, kEndOfFile,
    // kWrongMode (after the "Bailing because of interface mode" box) or
    // kReadError (logged by the caller; the fields keep the previous record).
    std::int32_t Read();
    // Reads the next record like Read, but gives only `field` its text (the
    // other fields keep theirs): for a pass that looks at one field of every
    // line, such as the sort-order check.
    std::int32_t ReadField(CodecField field);
    // Closes the file and moves it into the history of used route files:
    // "PriorD01".."PriorD10", or "P" + route of file + "01".."10" when
    // byRoute is set; a file opened under its claimed name goes there through
    // its downloaded name (RouteFileClaim.h). Rotation failures are logged
    // (activity 22); returns 0 when the file was moved, -1 when it was not.
    std::int32_t CloseAndRoll(std::uint32_t byRoute);
    void Close();

    // The field text of the last record read; empty for fields the vendor's
    // layout does not fill.
    const std::string& Field(CodecField field) const;
    // Whether the vendor's layout fills this field.
    bool HasField(CodecField field) const;
    // The route of the first record read (trailing blanks removed).
    const std::string& RouteOfFile() const { return routeOfFile_; }
    const std::string& Path() const { return path_; }
    // Characters of a line the layout keeps, and the number of the first
    // line read so far that was longer (LineReader::FirstCutLine).
    std::size_t LineLimit() const;
    std::size_t FirstCutLine() const;

  protected:
    // For a codec that also writes readings files: both directions share
    // `record`, which must outlive this part.
    VendorMeter(const MeterLayout& layout, CodecRecord& record);
    // For vendors whose rules need more than the layout table.
    std::string& MutableField(CodecField field);
    const MeterLayout& Layout() const { return layout_; }

    // What a line of the file is to the codec.
    enum class LineUse : std::uint8_t {
        Record,      // the fields are cut from it
        Skip,        // it carries no meter: the next line is read
        SameRecord,  // it gives the record read before once more, fields unchanged
    };
    // Sees every line read that is neither empty nor blank, and a header
    // line whatever it holds, before any field is cut; may reshape it. By
    // default every such line is a record.
    virtual LineUse PrepareLine(std::string& line);
    // The record's dial-digit count (negative: empty readings). By default
    // the layout's digit rule on its digits field, which is cut by then.
    virtual std::int64_t DigitCount(std::string_view line);
    // After the fields, readings and marks, before blanks become zeros.
    virtual void AdjustFields(std::string_view line);
    // After blanks became zeros, before trailing blanks are removed.
    virtual void FinishFields(std::string_view line);
    // Whether the hooks above may change `field`: ReadField then cuts the
    // whole record. By default they change none.
    virtual bool HooksChange(CodecField field) const;

  private:
    // Reads lines up to the next one that is a record (or gives the record
    // before once more): kRecordRead with `use` set, or an ending result.
    std::int32_t NextRecordLine(LineUse& use);
    void CutFields(std::string_view line);
    // Cuts `field` alone, as CutFields would.
    void CutField(std::string_view line, CodecField field);

    // The engine's state lives in the vendor-independent source.
    const MeterLayout& layout_;
    CodecRecord ownRecord_;  // unused when the record is shared
    std::array<std::string, kCodecFieldCount>& fields_;
    char& mode_;
    std::string& path_;
    std::string routeOfFile_;
    struct Stream;
    Stream* stream_ = nullptr;
};
