#include "tests/platform/palm/PalmTestUtil.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/palm/PdbFile.h"

namespace wexal::palm::testing {

std::vector<uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

uint8_t CreateDb(const std::string& name, uint16_t version) {
    SyncCreateDbParams p{};
    p.creator = FourCC("TLWX");
    p.type = FourCC("DATA");
    p.version = version;
    std::memcpy(p.name, name.data(), std::min(name.size(), sizeof p.name));
    int32_t rc = SyncCreateDB(&p);
    EXPECT_EQ(rc, 0) << "create " << name;
    return p.handle;
}

uint32_t AddRecord(uint8_t handle, const std::string& bytes, int16_t category) {
    std::string copy = bytes;
    SyncRawRecord r{};
    r.dbHandle = handle;
    r.recId = 0;
    r.category = category;
    r.recSize = static_cast<uint32_t>(copy.size());
    r.buffer = copy.data();
    int32_t rc = SyncWriteRec(&r);
    EXPECT_EQ(rc, 0);
    return rc == 0 ? r.recId : 0;
}

ReadResult ReadByIndex(uint8_t handle, uint16_t index, uint16_t bufferSize) {
    std::vector<char> buffer(bufferSize + 1, '\x7E');
    SyncRawRecord r{};
    r.dbHandle = handle;
    r.index = index;
    r.bufferSize = bufferSize;
    r.buffer = buffer.data();
    ReadResult out;
    out.code = SyncReadRecordByIndex(&r);
    if (out.code == 0) {
        out.id = r.recId;
        out.attributes = r.attributes;
        out.bytes.assign(buffer.data(), r.recSize);
        EXPECT_LE(r.recSize, bufferSize);
        EXPECT_EQ(buffer[bufferSize], '\x7E') << "wrote past the buffer";
    }
    return out;
}

std::string ShellQuote(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    return out + "'";
}

CommandResult RunCommand(const std::string& commandLine) {
    CommandResult result;
    std::string full = commandLine + " 2>&1";
    FILE* pipe = ::popen(full.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) {
        result.output.append(buf, n);
    }
    int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace wexal::palm::testing
