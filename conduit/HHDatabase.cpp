#include "conduit/HHDatabase.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "conduit/SyncLogActivity.h"
#include "conduit/formats/AnsiText.h"
#include "platform/synclog/SyncLog.h"

namespace {

// Find option that makes the sync library report the record count.
constexpr std::uint8_t kFindWithCount = 0x40;
constexpr std::int32_t kCard = 0;

// The NUL that ends the text at `at`, or `end`. Texts are a few characters,
// too few for a call to memchr: eight bytes are looked at a time, with the
// test for a zero byte that needs no branch per byte.
const std::uint8_t* TextEnd(const std::uint8_t* at, const std::uint8_t* end) {
    static_assert(std::endian::native == std::endian::little);
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
    while (end - at >= static_cast<std::ptrdiff_t>(sizeof(std::uint64_t))) {
        std::uint64_t word;
        std::memcpy(&word, at, sizeof word);
        const std::uint64_t zeros = (word - kOnes) & ~word & kHighs;
        if (zeros != 0) {
            // The lowest flagged byte is the first zero (a borrow can flag
            // only bytes above it), and the lowest byte comes first.
            return at + std::countr_zero(zeros) / 8;
        }
        at += sizeof word;
    }
    while (at != end && *at != 0) {
        ++at;
    }
    return at;
}

}  // namespace

void LogHandheldError(const std::string& text) {
    LogAddEntry(text.c_str(), kActivityHandheld, 0);
}

HHDatabase::HHDatabase(const char* tooLongText, const char* readErrorText)
    : tooLongText_(tooLongText), readErrorText_(readErrorText) {}

HHDatabase::~HHDatabase() {
    if (IsOpen()) {
        Close();
    }
}

std::int32_t HHDatabase::Find(const std::string& name, std::uint32_t& recordCount) {
    SyncFindDbByNameParams find{};
    find.optFlags = kFindWithCount;
    find.cardNo = kCard;
    find.name = name.c_str();
    SyncFindDbResult found{};
    const std::int32_t result = SyncFindDbByName(&find, &found);
    recordCount = result == kSyncErrNone ? found.recordCount : 0;
    return result;
}

HHDatabase::OpenOutcome HHDatabase::Open(const std::string& name) {
    if (IsOpen()) {
        Close();
    }
    std::uint32_t count = 0;
    const std::int32_t findResult = Find(name, count);
    if (findResult == kSyncErrNotRegularFile) {
        // Refused unread by the store: no other line would say why.
        LogHandheldError("Wexal - Handheld database " + AnsiToUtf8(name) +
                         " is not a regular file");
    }

    std::uint8_t handle = 0;
    OpenOutcome outcome = OpenOutcome::Opened;
    openError_ = kSyncErrNone;
    if (findResult == kSyncErrNone) {
        openError_ = SyncOpenDB(name.c_str(), kCard, &handle, kSyncModeWrite);
        if (openError_ != kSyncErrNone) {
            return OpenOutcome::OpenFailed;
        }
    } else if (findResult == kSyncErrNotFound) {
        SyncCreateDbParams create{};
        create.creator = kCreator;
        create.flags = 0;
        create.cardNo = kCard;
        name.copy(create.name, sizeof create.name - 1);
        create.type = kType;
        create.version = 0;
        create.reserved = 0;
        openError_ = SyncCreateDB(&create);
        if (openError_ != kSyncErrNone) {
            return OpenOutcome::CreateFailed;
        }
        handle = create.handle;
        outcome = OpenOutcome::Created;
    } else {
        openError_ = findResult;
        return OpenOutcome::FindFailed;
    }

    recordCount_ = count;
    handle_ = handle;
    recordId_ = 0;
    buffer_ = std::make_unique<std::uint8_t[]>(kBufferSize);  // zero-filled
    block_ = SyncRawRecord{};
    block_.dbHandle = handle_;
    block_.bufferSize = kBufferSize;
    block_.buffer = buffer_.get();
    return outcome;
}

std::int32_t HHDatabase::CloseFolderLater() {
    if (IsOpen()) {
        SyncDeferFolderFlush(handle_);
    }
    return Close();
}

std::int32_t HHDatabase::Close() {
    if (!IsOpen()) {
        return kSyncErrBadHandle;
    }
    const std::int32_t result = SyncCloseDB(handle_);
    buffer_.reset();
    block_.buffer = nullptr;
    handle_ = 0;
    return result;
}

void HHDatabase::Clear(HHNumbers numbers, HHTexts texts) {
    for (std::uint16_t* number : numbers) {
        *number = 0;
    }
    for (std::string* text : texts) {
        text->clear();
    }
    recordId_ = 0;
}

std::int32_t HHDatabase::Write(HHNumbers numbers, HHTexts texts) {
    if (!IsOpen()) {
        return kSyncErrBadHandle;
    }
    PrepareBlock();
    const std::optional<std::size_t> length = Pack(numbers, texts);
    if (!length) {
        LogHandheldError(tooLongText_);
        return -1;
    }
    block_.recSize = static_cast<std::uint32_t>(*length);
    return SyncWriteRec(&block_);
}

bool HHDatabase::PackInto(HHNumbers numbers, HHTexts texts, std::vector<std::uint8_t>& out) {
    if (!buffer_) {
        buffer_ = std::make_unique<std::uint8_t[]>(kBufferSize);
    }
    const std::optional<std::size_t> length = Pack(numbers, texts);
    if (!length) {
        return false;
    }
    out.assign(buffer_.get(), buffer_.get() + *length);
    return true;
}

std::int32_t HHDatabase::WritePacked(std::span<const std::uint8_t> packed) {
    if (!IsOpen()) {
        return kSyncErrBadHandle;
    }
    recordId_ = 0;
    PrepareBlock();
    std::memcpy(buffer_.get(), packed.data(), packed.size());
    block_.recSize = static_cast<std::uint32_t>(packed.size());
    return SyncWriteRec(&block_);
}

void HHDatabase::LogTooLong() const {
    LogHandheldError(tooLongText_);
}

std::int32_t HHDatabase::ReadByIndex(std::uint16_t index, HHNumbers numbers, HHTexts texts) {
    std::int32_t result = kSyncErrBadHandle;
    if (IsOpen()) {
        block_.dbHandle = handle_;
        block_.index = index;
        block_.bufferSize = kBufferSize;
        block_.reserved = 0;
        result = SyncReadRecordByIndex(&block_);
    }
    if (result != kSyncErrNone) {
        if (readErrorText_ != nullptr) {
            LogHandheldError("Error " + std::to_string(result) + readErrorText_);
        }
        return result;
    }
    recordId_ = block_.recId;
    Unpack(std::min<std::size_t>(block_.recSize, kBufferSize), numbers, texts);
    return kSyncErrNone;
}

std::int32_t HHDatabase::DeleteRecord() {
    if (!IsOpen()) {
        return kSyncErrBadHandle;
    }
    if (recordCount_ > 0) {
        --recordCount_;
    }
    PrepareBlock();
    return SyncDeleteRec(&block_);
}

void HHDatabase::PrepareBlock() {
    block_.dbHandle = handle_;
    block_.recId = recordId_;
    block_.category = 0;
    block_.reserved = 0;
}

std::optional<std::size_t> HHDatabase::Pack(HHNumbers numbers, HHTexts texts) {
    // The length is known before the first byte is stored, so a record that
    // does not fit never writes past the buffer.
    std::size_t length = numbers.size() * sizeof(std::uint16_t);
    for (const std::string* text : texts) {
        length += text->size() + 1;
    }
    if (length > kBufferSize) {
        return std::nullopt;
    }

    std::uint8_t* out = buffer_.get();
    for (const std::uint16_t* number : numbers) {
        const std::uint16_t word = SyncHostToHHWord(*number);
        std::memcpy(out, &word, sizeof word);
        out += sizeof word;
    }
    for (const std::string* text : texts) {
        // The NUL ends a text in the record: one inside a text (a route file,
        // a database or a workbook may hold one) would end it early and shift
        // every later text into the wrong field.
        out = std::replace_copy(text->begin(), text->end(), out, '\0', ' ');
        *out++ = 0;
    }
    return length;
}

void HHDatabase::Unpack(std::size_t size, HHNumbers numbers, HHTexts texts) const {
    // A record shorter than its layout leaves the missing numbers 0 and the
    // missing texts empty; a text without its NUL ends with the record.
    const std::uint8_t* at = buffer_.get();
    const std::uint8_t* const end = at + size;
    for (std::uint16_t* number : numbers) {
        if (end - at >= static_cast<std::ptrdiff_t>(sizeof(std::uint16_t))) {
            std::uint16_t word = 0;
            std::memcpy(&word, at, sizeof word);
            *number = SyncHHToHostWord(word);
            at += sizeof word;
        } else {
            *number = 0;
            at = end;
        }
    }
    for (std::string* text : texts) {
        const std::uint8_t* const stop = TextEnd(at, end);
        text->assign(reinterpret_cast<const char*>(at), static_cast<std::size_t>(stop - at));
        at = stop == end ? end : stop + 1;
    }
}
