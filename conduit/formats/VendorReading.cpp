#include "conduit/formats/VendorReading.h"

#include <string_view>
#include <utility>

#include "conduit/SyncLogActivity.h"
#include "conduit/formats/AnsiText.h"
#include "conduit/formats/LineAssembly.h"
#include "conduit/formats/LineWriter.h"
#include "conduit/formats/ReadingLayout.h"
#include "platform/synclog/SyncLog.h"

namespace {

constexpr char kReadingsFileMode = 'U';
// Readings files are text files of the billing system's platform.
constexpr std::string_view kLineEnd = "\r\n";

std::size_t Index(CodecField field) {
    return static_cast<std::size_t>(field);
}

}  // namespace

struct VendorReading::Stream {
    LineWriter writer;
    LineAssembler assembler;
};

// Not delegating: the own record may only be referred to once this
// constructor runs and the record is built (it is declared before the
// references to it).
VendorReading::VendorReading(const ReadingLayout& layout)
    : layout_(layout), fields_(ownRecord_.fields), mode_(ownRecord_.mode), path_(ownRecord_.path) {}

VendorReading::VendorReading(const ReadingLayout& layout, CodecRecord& record)
    : layout_(layout), fields_(record.fields), mode_(record.mode), path_(record.path) {}

VendorReading::~VendorReading() {
    Close();
    delete stream_;
}

std::int32_t VendorReading::Open(const std::string& path, std::int32_t /*append*/) {
    // Readings files hold what the billing system has not taken yet: they are
    // only ever appended to, whatever the caller asks.
    if (stream_ == nullptr) {
        stream_ = new Stream;
    }
    if (!stream_->writer.Open(path)) {
        return -1;
    }
    path_ = path;
    mode_ = kReadingsFileMode;
    AfterOpen();
    return 0;
}

std::int32_t VendorReading::Write() {
    if (mode_ != kReadingsFileMode) {
        return -2;
    }
    BeforeWrite();
    return WriteLine(layout_);
}

std::int32_t VendorReading::WriteLine(const ReadingLayout& layout) {
    if (mode_ != kReadingsFileMode) {
        return -2;
    }
    if (stream_ == nullptr || !stream_->writer.IsOpen()) {
        return -1;
    }
    const std::string& line = stream_->assembler.Assemble(layout, *this);
    if (!stream_->writer.Append(line) || !stream_->writer.Append(kLineEnd)) {
        return -1;
    }
    for (const std::string& reading : stream_->assembler.Losses()) {
        ReportLoss(reading);
    }
    return 0;
}

void VendorReading::ReportLoss(std::string_view reading) const {
    const std::size_t first = reading.find_first_not_of(' ');
    reading.remove_prefix(first == std::string_view::npos ? reading.size() : first);
    const std::string text = "Wexal - Service " + AnsiToUtf8(Field(CodecField::ServiceUniqueID)) +
                             ": reading " + AnsiToUtf8(reading) +
                             " does not fit its column, written cut";
    LogAddEntry(text.c_str(), kActivityHandheld, 0);
}

std::int32_t VendorReading::Close() {
    if (stream_ == nullptr) {
        return 0;
    }
    return stream_->writer.Close() ? 0 : -1;
}

std::int32_t VendorReading::DiscardWritten() {
    if (stream_ == nullptr) {
        return -1;
    }
    return stream_->writer.TruncateToOpenSize() ? 0 : -1;
}

void VendorReading::SetField(CodecField field, std::string_view text) {
    fields_[Index(field)].assign(text);
}

const std::string& VendorReading::Field(CodecField field) const {
    return fields_[Index(field)];
}

bool VendorReading::HasField(CodecField field) const {
    return layout_.members.Has(field);
}

void VendorReading::AfterOpen() {}

void VendorReading::BeforeWrite() {}
