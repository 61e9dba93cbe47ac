// A readings-file codec: builds one fixed-column line per reading from named
// field texts and appends it to the billing system's readings file. Each
// vendor's class (AccuFundReading, ...) is this engine with the vendor's
// line layout and hooks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "conduit/formats/CodecField.h"
#include "conduit/formats/CodecRecord.h"

struct ReadingLayout;  // a vendor's line pieces, in the vendor's source

class VendorReading {
  public:
    explicit VendorReading(const ReadingLayout& layout);
    virtual ~VendorReading();
    VendorReading(const VendorReading&) = delete;
    VendorReading& operator=(const VendorReading&) = delete;

    // Opens the readings file for appending, creating it when missing: 0, or
    // -1 when it cannot be opened. A readings file is never emptied, so the
    // file is appended to whatever `append` says.
    std::int32_t Open(const std::string& path, std::int32_t append);
    // Appends one line built from the field texts, ending in CR LF:
    // 0 written, -1 the file refused it, -2 not open for readings.
    std::int32_t Write();
    // Flushes and closes: 0, or -1 when the file could not be completed
    // (a full disk shows up here). Calling it again does nothing and gives 0.
    std::int32_t Close();
    // Cuts the file back to the length it had when it was opened, taking
    // back every line this codec appended; 0 on success, -1 when it cannot.
    std::int32_t DiscardWritten();

    // The text is copied into the field's own storage.
    void SetField(CodecField field, std::string_view text);
    const std::string& Field(CodecField field) const;
    // Whether the vendor's line has room for this field.
    bool HasField(CodecField field) const;
    const std::string& Path() const { return path_; }

  protected:
    // For a codec that also reads route files: both directions share
    // `record`, which must outlive this part.
    VendorReading(const ReadingLayout& layout, CodecRecord& record);
    const ReadingLayout& Layout() const { return layout_; }
    // Appends one line built by another layout of the vendor's (a header
    // line): results as Write.
    std::int32_t WriteLine(const ReadingLayout& layout);
    // After every successful Open (a vendor whose files start with a header).
    virtual void AfterOpen();
    // Before every Write builds its line, once the mode was found right.
    virtual void BeforeWrite();

  private:
    // Logs a reading that lost digits in its column (activity 22).
    void ReportLoss(std::string_view reading) const;

    const ReadingLayout& layout_;
    CodecRecord ownRecord_;  // unused when the record is shared
    std::array<std::string, kCodecFieldCount>& fields_;
    char& mode_;
    std::string& path_;
    struct Stream;
    Stream* stream_ = nullptr;
};
