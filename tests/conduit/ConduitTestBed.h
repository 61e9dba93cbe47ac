// What a conduit needs around it for one sync: a registry naming the
// configuration folder, a WexalDT.cfg there, a handheld session and a
// captured sync log.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/palm/HandheldStore.h"
#include "platform/palm/SyncManager.h"
#include "platform/registry/Registry.h"
#include "platform/synclog/SyncLog.h"
#include "tests/support/TempDir.h"

namespace wexal::testing {

class ConduitTestBed {
  public:
    explicit ConduitTestBed(const std::string& userName = "UNIT01")
        : registry_("WEXAL_REGISTRY", (dir_ / "registry.reg").string()) {
        std::filesystem::create_directories(ConfigFolder());
        registry::Registry::CurrentUser().WriteString("Software\\Tolvane\\Wexal Conduit\\2.0",
                                                      "Path", ConfigFolder().string());
        palm::HandheldStore::Init(Handheld(), userName);
    }
    ~ConduitTestBed() { EndSession(); }

    std::filesystem::path Folder() const { return dir_.path(); }
    std::filesystem::path ConfigFolder() const { return dir_ / "config"; }
    // The handheld that sessions open: the bed's own, or one chosen by
    // UseHandheld.
    std::filesystem::path Handheld() const { return handheld_; }
    // Another handheld of the same office, with its own user.
    std::filesystem::path AddHandheld(const std::string& userName) const {
        const std::filesystem::path folder = dir_ / ("handheld-" + userName);
        palm::HandheldStore::Init(folder, userName);
        return folder;
    }
    void UseHandheld(const std::filesystem::path& folder) {
        EndSession();
        handheld_ = folder;
    }

    // Writes WexalDT.cfg from lines, with the desktop's CR LF line ends.
    void WriteConfig(const std::vector<std::string>& lines) const {
        std::string text;
        for (const auto& line : lines) {
            text += line + "\r\n";
        }
        WriteFile(ConfigFolder() / "WexalDT.cfg", text);
    }

    // Opens the handheld session and starts capturing the sync log.
    void BeginSession() {
        if (!open_) {
            SyncOpenSession(Handheld().c_str());
            synclog::Begin({}, nullptr);
            open_ = true;
        }
    }
    // Ends both; the log lines of the session stay in Log().
    void EndSession() {
        if (open_) {
            for (auto& entry : synclog::End()) {
                log_.push_back(std::move(entry));
            }
            SyncCloseSession();
            open_ = false;
        }
    }

    const std::vector<synclog::Entry>& Log() const { return log_; }
    // "activity text" per line, for compact comparisons.
    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        for (const auto& entry : log_) {
            lines.push_back(std::to_string(entry.activity) + " " + entry.text);
        }
        return lines;
    }

    // Records of a database as bytes, read from the store after the session.
    std::vector<std::string> Records(const std::string& database) const {
        std::vector<std::string> records;
        auto store = palm::HandheldStore::Open(Handheld());
        if (!store.Exists(database)) {
            return records;
        }
        for (const auto& record : store.Load(database).records) {
            records.emplace_back(record.data.begin(), record.data.end());
        }
        return records;
    }
    // Rewrites a database's file as a hand-made one may be: `edit` changes
    // its records. Only while the database is not open.
    void EditRecords(const std::string& database,
                     const std::function<void(std::vector<palm::PdbRecord>&)>& edit) const {
        auto store = palm::HandheldStore::Open(Handheld());
        palm::PdbDatabase db = store.Load(database);
        edit(db.records);
        store.Save(db);
    }
    bool HasDatabase(const std::string& database) const {
        return palm::HandheldStore::Open(Handheld()).Exists(database);
    }

  private:
    TempDir dir_;
    ScopedEnv registry_;
    std::filesystem::path handheld_ = dir_ / "handheld";
    bool open_ = false;
    std::vector<synclog::Entry> log_;
};

}  // namespace wexal::testing
