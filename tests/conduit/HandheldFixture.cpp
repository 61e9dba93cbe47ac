#include "tests/conduit/HandheldFixture.h"

#include "platform/palm/PdbFile.h"
#include "platform/palm/SyncManager.h"

namespace wexal::testing {

std::string Words(std::initializer_list<std::uint16_t> words) {
    std::string bytes;
    for (std::uint16_t word : words) {
        bytes += static_cast<char>(word >> 8);
        bytes += static_cast<char>(word & 0xFF);
    }
    return bytes;
}

std::string Texts(std::initializer_list<std::string> texts) {
    std::string bytes;
    for (const std::string& text : texts) {
        bytes += text;
        bytes += '\0';
    }
    return bytes;
}

void HandheldFixture::SetUp() {
    store_ = std::make_unique<palm::HandheldStore>(
        palm::HandheldStore::Init(dir_ / "handheld", kUserName));
    ReopenSession();
    synclog::Begin({}, nullptr);
}

void HandheldFixture::TearDown() {
    synclog::End();
    CloseSession();
}

void HandheldFixture::CloseSession() {
    if (sessionOpen_) {
        EXPECT_EQ(SyncCloseSession(), 0);
        sessionOpen_ = false;
    }
}

void HandheldFixture::ReopenSession() {
    CloseSession();
    ASSERT_EQ(SyncOpenSession(store_->dir().c_str()), 0);
    sessionOpen_ = true;
}

bool HandheldFixture::Exists(const std::string& name) {
    SyncFindDbByNameParams find{};
    find.optFlags = 0x40;
    find.name = name.c_str();
    SyncFindDbResult found{};
    return SyncFindDbByName(&find, &found) == 0;
}

std::uint32_t HandheldFixture::CountOf(const std::string& name) {
    SyncFindDbByNameParams find{};
    find.optFlags = 0x40;
    find.name = name.c_str();
    SyncFindDbResult found{};
    EXPECT_EQ(SyncFindDbByName(&find, &found), 0) << name;
    return found.recordCount;
}

std::vector<std::string> HandheldFixture::Records(const std::string& name) {
    std::vector<std::string> records;
    std::uint8_t handle = 0;
    if (SyncOpenDB(name.c_str(), 0, &handle, kSyncModeRead) != 0) {
        return records;
    }
    std::vector<char> buffer(0x10000);
    for (std::uint16_t index = 0;; ++index) {
        SyncRawRecord raw{};
        raw.dbHandle = handle;
        raw.index = index;
        raw.bufferSize = 0xFFFF;
        raw.buffer = buffer.data();
        if (SyncReadRecordByIndex(&raw) != 0) {
            break;
        }
        records.emplace_back(buffer.data(), raw.recSize);
    }
    SyncCloseDB(handle);
    return records;
}

void HandheldFixture::PutRecords(const std::string& name, const std::vector<std::string>& records) {
    std::uint8_t handle = 0;
    if (SyncOpenDB(name.c_str(), 0, &handle, kSyncModeReadWrite) != 0) {
        SyncCreateDbParams create{};
        create.creator = palm::FourCC("TLWX");
        create.type = palm::FourCC("DATA");
        name.copy(create.name, sizeof create.name - 1);
        ASSERT_EQ(SyncCreateDB(&create), 0) << name;
        handle = create.handle;
    }
    for (std::string bytes : records) {
        SyncRawRecord raw{};
        raw.dbHandle = handle;
        raw.recSize = static_cast<std::uint32_t>(bytes.size());
        raw.buffer = bytes.data();
        EXPECT_EQ(SyncWriteRec(&raw), 0);
    }
    EXPECT_EQ(SyncCloseDB(handle), 0);
}

std::vector<std::string> HandheldFixture::LogLines() const {
    std::vector<std::string> lines;
    for (const synclog::Entry& entry : synclog::Entries()) {
        lines.push_back("[" + std::to_string(entry.activity) + "] " + entry.text);
    }
    return lines;
}

std::unique_ptr<WexalConfig> HandheldFixture::EmptyConfig() const {
    return std::make_unique<WexalConfig>();
}

}  // namespace wexal::testing
