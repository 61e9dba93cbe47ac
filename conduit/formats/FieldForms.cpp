#include "conduit/formats/FieldForms.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <utility>

#include "conduit/formats/LeadingNumber.h"
#include "conduit/formats/VendorReading.h"

namespace layout {

Segment Text(CodecField field) {
    Segment segment;
    segment.field = field;
    return segment;
}

Segment Part(CodecField field, std::size_t from, std::size_t count) {
    Segment segment = Text(field);
    segment.from = from;
    segment.count = count;
    return segment;
}

Segment LastPart(CodecField field, std::size_t count) {
    Segment segment = Text(field);
    segment.count = count;
    segment.fromEnd = true;
    return segment;
}

Segment Literal(std::string_view text) {
    Segment segment;
    segment.kind = Segment::Kind::Constant;
    segment.constant = text;
    return segment;
}

Segment Number(CodecField field) {
    Segment segment = Text(field);
    segment.kind = Segment::Kind::Number;
    return segment;
}

Segment Custom(CustomSegment make) {
    Segment segment;
    segment.kind = Segment::Kind::Custom;
    segment.custom = make;
    return segment;
}

Segment PadFront(Segment segment, std::size_t width, char fill) {
    segment.width = width;
    segment.fill = fill;
    segment.padBehind = false;
    return segment;
}

Segment PadBehind(Segment segment, std::size_t width) {
    segment.width = width;
    segment.fill = ' ';
    segment.padBehind = true;
    return segment;
}

std::vector<Segment> MonthDayYear(CodecField date) {
    return {PadFront(Part(date, 2, 2), 2, '0'), PadFront(Part(date, 4, 2), 2, '0'),
            PadFront(Part(date, 0, 2), 2, '0')};
}

ReadingPiece First(std::size_t column, std::size_t count, std::vector<Segment> segments) {
    return {column, std::move(segments), Take::First, count};
}

ReadingPiece Last(std::size_t column, std::size_t count, std::vector<Segment> segments) {
    return {column, std::move(segments), Take::Last, count};
}

ReadingPiece Whole(std::size_t column, std::vector<Segment> segments) {
    return {column, std::move(segments), Take::Whole, 0};
}

ReadingPiece TextIn(std::size_t column, std::size_t width, CodecField field) {
    return First(column, width, {Text(field)});
}

ReadingPiece ReadingIn9(std::size_t column, CodecField field) {
    return ReportingLoss(Last(column, 9, {PadFront(Text(field), 10, ' ')}));
}

ReadingPiece ReportingLoss(ReadingPiece piece) {
    piece.reportsLoss = true;
    return piece;
}

ReadingPiece ZeroPaddedIn(std::size_t column, std::size_t width, CodecField field) {
    return First(column, width, {PadFront(Text(field), width, '0')});
}

ReadingPiece DateMMDDYY(std::size_t column, CodecField date) {
    return First(column, 6, MonthDayYear(date));
}

}  // namespace layout

namespace {

std::string_view PartOf(std::string_view text, const Segment& segment) {
    if (segment.fromEnd) {
        return text.size() > segment.count ? text.substr(text.size() - segment.count) : text;
    }
    return segment.from < text.size() ? text.substr(segment.from, segment.count)
                                      : std::string_view{};
}

// Appends `body` padded as the segment says; `sign` goes before zeros.
// Every field of every readings line comes through here: the line grows once
// and the parts are copied into place.
void AppendPadded(const Segment& segment, std::string_view sign, std::string_view body,
                  std::string& out) {
    const std::size_t length = sign.size() + body.size();
    const std::size_t padding = segment.width > length ? segment.width - length : 0;
    const std::size_t start = out.size();
    out.resize(start + length + padding, segment.fill);
    char* at = out.data() + start;
    const auto put = [&at](std::string_view text) {
        if (!text.empty()) {
            std::memcpy(at, text.data(), text.size());
            at += text.size();
        }
    };
    if (segment.padBehind) {
        put(sign);
        put(body);  // the fill follows
    } else if (segment.fill == '0') {
        put(sign);
        at += padding;
        put(body);
    } else {
        at += padding;
        put(sign);
        put(body);
    }
}

void AppendSegment(const Segment& segment, const VendorReading& codec, std::string& out) {
    switch (segment.kind) {
        case Segment::Kind::Field:
            AppendPadded(segment, {}, PartOf(codec.Field(segment.field), segment), out);
            return;
        case Segment::Kind::Constant:
            AppendPadded(segment, {}, segment.constant, out);
            return;
        case Segment::Kind::Number: {
            const std::int64_t value = LeadingInteger(PartOf(codec.Field(segment.field), segment));
            char digits[24];
            const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
            std::string_view text(digits, static_cast<std::size_t>(end - digits));
            std::string_view sign;
            if (value < 0) {
                sign = text.substr(0, 1);
                text.remove_prefix(1);
            }
            AppendPadded(segment, sign, text, out);
            return;
        }
        case Segment::Kind::Custom: {
            const std::size_t start = out.size();
            segment.custom(codec, out);
            const std::size_t made = out.size() - start;
            if (made < segment.width) {
                out.insert(segment.padBehind ? out.size() : start, segment.width - made,
                           segment.fill);
            }
            return;
        }
    }
}

}  // namespace

bool AppendPiece(const ReadingPiece& piece, const VendorReading& codec, std::string& out,
                 std::string* whole) {
    const std::size_t start = out.size();
    for (const Segment& segment : piece.segments) {
        AppendSegment(segment, codec, out);
    }
    const std::size_t made = out.size() - start;
    if (made <= piece.count || piece.take == Take::Whole) {
        return false;
    }
    // Zeros cut from the front are padding or leading zeros: the value stays.
    const std::string_view dropped = piece.take == Take::First
                                         ? std::string_view(out).substr(start + piece.count)
                                         : std::string_view(out).substr(start, made - piece.count);
    const bool lost =
        piece.reportsLoss &&
        dropped.find_first_not_of(piece.take == Take::First ? " " : " 0") != std::string_view::npos;
    if (lost && whole != nullptr) {
        whole->assign(out, start, made);
    }
    if (piece.take == Take::First) {
        out.resize(start + piece.count);
    } else {
        out.erase(start, made - piece.count);
    }
    return lost;
}
