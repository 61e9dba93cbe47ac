#include "conduit/formats/VendorMeter.h"

#include <algorithm>
#include <memory>

#include "conduit/ConduitName.h"
#include "conduit/TrailingWhiteSpace.h"
#include "conduit/formats/HistoryRotation.h"
#include "conduit/formats/LineReader.h"
#include "conduit/formats/MeterLayout.h"
#include "conduit/formats/RouteFileClaim.h"
#include "platform/files/RegularFile.h"
#include "platform/msgbox/MessageBox.h"

namespace {

constexpr char kRouteFileMode = 'D';

std::size_t Index(CodecField field) {
    return static_cast<std::size_t>(field);
}

void AppendLinePiece(std::string& text, std::string_view line, const LinePiece& piece) {
    if (piece.kind == LinePiece::Kind::Constant) {
        text.append(piece.constant);
        return;
    }
    const std::string_view cut =
        piece.column < line.size() ? line.substr(piece.column, piece.length) : std::string_view{};
    if (cut.size() < piece.width) {
        text.append(piece.width - cut.size(), ' ');
    }
    text.append(cut);
}

void SetMark(std::string& text, std::string_view line, const MarkRule& mark) {
    const bool marked =
        mark.column < line.size() && mark.letters.find(line[mark.column]) != std::string_view::npos;
    if (marked) {
        if (mark.copyLetter) {
            text.assign(1, line[mark.column]);
        } else {
            text.assign(mark.marked);
        }
    } else if (!mark.keepUnmarked) {
        text.assign(mark.unmarked);
    }
}

void RemoveTrailing(std::string& text, bool whiteSpace) {
    text.resize(whiteSpace ? LengthWithoutTrailingWhiteSpace(text)
                           : LengthWithoutTrailingBlanks(text));
}

}  // namespace

struct VendorMeter::Stream {
    explicit Stream(std::size_t limit) : reader(limit) {}

    LineReader reader;
    std::string line;
    bool beforeHeader = true;
};

// Not delegating: the own record may only be referred to once this
// constructor runs and the record is built (it is declared before the
// references to it).
VendorMeter::VendorMeter(const MeterLayout& layout)
    : layout_(layout), fields_(ownRecord_.fields), mode_(ownRecord_.mode), path_(ownRecord_.path) {}

VendorMeter::VendorMeter(const MeterLayout& layout, CodecRecord& record)
    : layout_(layout), fields_(record.fields), mode_(record.mode), path_(record.path) {}

VendorMeter::~VendorMeter() {
    Close();
}

std::int32_t VendorMeter::Open(const std::string& path) {
    Close();
    auto stream = std::make_unique<Stream>(layout_.lineLimit);
    int error = 0;
    if (!stream->reader.Open(path, &error)) {
        return error == wexal::files::kNotRegularFile ? kNotRegularFile : -1;
    }
    stream_ = stream.release();
    path_ = path;
    mode_ = kRouteFileMode;
    return 0;
}

void VendorMeter::Close() {
    delete stream_;
    stream_ = nullptr;
}

std::int32_t VendorMeter::NextRecordLine(LineUse& use) {
    if (mode_ != kRouteFileMode) {
        if (layout_.wrongModeMessage) {
            WexalMessageBox(kConduitName, "Bailing because of interface mode");
        }
        return kWrongMode;
    }
    if (stream_ == nullptr) {
        return kEndOfFile;
    }
    std::string& line = stream_->line;
    use = LineUse::Skip;
    while (use == LineUse::Skip) {
        switch (stream_->reader.Next(line)) {
            case LineReader::Outcome::End:
                return kEndOfFile;
            case LineReader::Outcome::Error:
                return kReadError;
            case LineReader::Outcome::Line:
                break;
        }
        // An empty or blank line carries no meter for any vendor: as a record
        // it would list a route "" and break the order of the routes. A
        // header, though, is the first line whatever it holds: passed over
        // when empty, it would let the first meter take its place.
        const bool header = layout_.firstLineIsHeader && stream_->beforeHeader;
        stream_->beforeHeader = false;
        if (!header && std::all_of(line.begin(), line.end(), IsWhiteSpace)) {
            continue;
        }
        use = PrepareLine(line);
    }
    return kRecordRead;
}

std::int32_t VendorMeter::Read() {
    LineUse use = LineUse::Skip;
    if (const std::int32_t result = NextRecordLine(use); result != kRecordRead) {
        return result;
    }
    if (use == LineUse::Record) {
        CutFields(stream_->line);
    }
    if (routeOfFile_.empty()) {
        routeOfFile_ = fields_[Index(layout_.route)];
    }
    return kRecordRead;
}

std::int32_t VendorMeter::ReadField(CodecField field) {
    LineUse use = LineUse::Skip;
    if (const std::int32_t result = NextRecordLine(use); result != kRecordRead) {
        return result;
    }
    if (use == LineUse::Record) {
        CutField(stream_->line, field);
    }
    if (routeOfFile_.empty() && field == layout_.route) {
        routeOfFile_ = fields_[Index(field)];
    }
    return kRecordRead;
}

void VendorMeter::CutField(std::string_view line, CodecField field) {
    const bool fromReadings =
        std::any_of(layout_.readings.begin(), layout_.readings.end(),
                    [field](const ReadingRule& reading) { return reading.field == field; });
    if (fromReadings || HooksChange(field)) {
        CutFields(line);
        return;
    }
    std::string& text = fields_[Index(field)];
    for (const FieldRule& rule : layout_.fields) {
        if (rule.field == field) {
            text.clear();
            for (const LinePiece& piece : rule.pieces) {
                AppendLinePiece(text, line, piece);
            }
        }
    }
    for (const MarkRule& mark : layout_.marks) {
        if (mark.field == field) {
            SetMark(text, line, mark);
        }
    }
    if (layout_.blanksToZeros.Has(field)) {
        std::replace(text.begin(), text.end(), ' ', '0');
    }
    if (layout_.trimmed.Has(field)) {
        RemoveTrailing(text, layout_.trimsWhiteSpace);
    }
}

void VendorMeter::CutFields(std::string_view line) {
    for (const FieldRule& rule : layout_.fields) {
        std::string& text = fields_[Index(rule.field)];
        text.clear();
        for (const LinePiece& piece : rule.pieces) {
            AppendLinePiece(text, line, piece);
        }
    }
    if (!layout_.readings.empty()) {
        const std::int64_t count = DigitCount(line);
        for (const ReadingRule& reading : layout_.readings) {
            fields_[Index(reading.field)].assign(CutReading(line, reading, count));
        }
    }
    for (const MarkRule& mark : layout_.marks) {
        SetMark(fields_[Index(mark.field)], line, mark);
    }
    AdjustFields(line);
    for (std::size_t i = 0; i < kCodecFieldCount; ++i) {
        if (layout_.blanksToZeros.Has(static_cast<CodecField>(i))) {
            std::replace(fields_[i].begin(), fields_[i].end(), ' ', '0');
        }
    }
    FinishFields(line);
    for (std::size_t i = 0; i < kCodecFieldCount; ++i) {
        if (layout_.trimmed.Has(static_cast<CodecField>(i))) {
            RemoveTrailing(fields_[i], layout_.trimsWhiteSpace);
        }
    }
}

std::int32_t VendorMeter::CloseAndRoll(std::uint32_t byRoute) {
    Close();
    // Never opened, or last opened as a readings file (a codec of both
    // directions): there is no route file to move.
    if (path_.empty() || mode_ != kRouteFileMode) {
        return -1;
    }
    return MoveDownloadedIntoHistory(path_, HistoryBaseName(byRoute != 0, routeOfFile_));
}

std::size_t VendorMeter::LineLimit() const {
    return layout_.lineLimit;
}

std::size_t VendorMeter::FirstCutLine() const {
    return stream_ != nullptr ? stream_->reader.FirstCutLine() : 0;
}

const std::string& VendorMeter::Field(CodecField field) const {
    return fields_[Index(field)];
}

bool VendorMeter::HasField(CodecField field) const {
    return layout_.members.Has(field);
}

std::string& VendorMeter::MutableField(CodecField field) {
    return fields_[Index(field)];
}

VendorMeter::LineUse VendorMeter::PrepareLine(std::string&) {
    return LineUse::Record;
}

std::int64_t VendorMeter::DigitCount(std::string_view) {
    return SettleDigitCount(layout_.digits, fields_[Index(layout_.digits.source)]);
}

void VendorMeter::AdjustFields(std::string_view) {}

void VendorMeter::FinishFields(std::string_view) {}

bool VendorMeter::HooksChange(CodecField) const {
    return false;
}
