// The journal of one route's upload into an append-only billing file (the
// readings file or the exceptions-capture file): "<file>.pending" beside it.
//
// A route's lines are appended in one go and the route is then marked
// uploaded on the handheld. A sync killed in between leaves lines (and often
// a cut last line) of a route that is still to be uploaded: its retry would
// write them twice, after a cut line. So before the first line the journal
// records where the file ends; once the lines are on disk it records where
// they end, and it is removed when the route is marked uploaded. The next
// upload into the file first settles a journal left behind:
//
// - "pending" (killed while appending): the route cannot have been marked
//   uploaded, so the file is cut back to where its lines began;
// - "committed" (killed before the mark was saved): the lines are whole. On
//   the handheld that wrote them, a route still to be uploaded has them cut
//   back, unless the file has grown since; a route marked uploaded keeps
//   them, and so does any route of another handheld (its mark is unknown).
//   The route is known by its name and the unique id of its record in the
//   route list: the same route downloaded and read again since is another
//   upload, whose waiting must not cut the lines of this one.
//
// An upload of several routes into one file keeps one journal for all of
// them (CommitAndContinue, Continue): each route's lines are forced to disk
// and then its "continued" record is added, which also says that whatever
// follows its lines is a later route's, not yet committed. The routes are
// marked uploaded one by one, but their marks need last on disk only before
// the journal goes. The marks that survive a power loss are those of the
// first routes (each save of the route list holds the earlier marks): on the
// handheld that wrote the journal the file is cut back to where the first
// route still to be uploaded began; otherwise (no such route, or another
// handheld's journal) to the end of the last route, since what follows it is
// a later route's, which cannot have been marked.
//
// A file that is no longer the one the journal was written for (moved away by
// the readings roll, shortened) is left alone.
//
// A sync that appends nothing to the file settles only what it can decide:
// a journal that hangs on the marks of another handheld waits for that
// handheld's next sync. While it stays, the office neither rolls nor clears
// the file.
//
// The caller holds the file's billing-file lock (platform/billingfile) from
// before Settle until End: the journal is one per file, and one that Settle
// finds is then never that of an upload still under way.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The lasting half of a route's commit (UploadJournal::PrepareCommit): it
// touches only the file and its journal, by their names, so it may run on a
// thread of its own while the next route's lines are made.
class JournalCommit {
  public:
    // Forces the file's lines to disk (and a new file's folder), then adds
    // the record that says where they end and forces the journal. True when
    // there was nothing to do.
    bool Run() const;

  private:
    friend class UploadJournal;
    std::string file_;     // empty when there is no file to force
    std::string folder_;   // the file's folder when its name is still to be flushed
    std::string journal_;  // empty: the route added nothing, no record is needed
    std::string record_;
};

class UploadJournal {
  public:
    enum class Settled {
        Nothing,    // no journal
        Kept,       // its lines stay, or there was nothing to cut
        CutBack,    // the file was cut back to where that upload began
        Doubtful,   // whole lines of a route still to be uploaded stay: the file grew since
        Failed,     // the journal or the file could not be read or cut: append nothing
        Undecided,  // it stays: its lines hang on marks that only another handheld shows
    };

    enum class Purpose {
        // The caller appends next: every journal is settled, and the routes
        // of another handheld keep their lines, their marks being unknown.
        Append,
        // Nothing is appended: a journal whose lines hang on another
        // handheld's marks is left to that handheld's next sync.
        Tidy,
    };

    // What the journal's name adds to the file's.
    static constexpr std::string_view kSuffix = ".pending";

    explicit UploadJournal(std::string file);

    const std::string& File() const { return file_; }
    // "<file>.pending".
    const std::string& Path() const { return path_; }
    // The route named by the journal that Settle found (for its log line).
    const std::string& SettledRoute() const { return settledRoute_; }

    using RouteAwaitsUpload =
        std::function<bool(const std::string& route, std::uint32_t routeRecord)>;

    // Settles a journal left by an upload that did not reach its end.
    // `handheld` identifies the handheld being synced (0: unknown);
    // `routeAwaitsUpload` tells whether one of its routes, by name and record
    // id, is still to be uploaded.
    Settled Settle(std::uint32_t handheld, const RouteAwaitsUpload& routeAwaitsUpload,
                   Purpose purpose = Purpose::Append);

    // Before the route's first line: records where the file ends (a missing
    // file counts as empty). False when the journal cannot be written.
    bool Begin(const std::string& route, std::uint32_t routeRecord, std::uint32_t handheld);
    // After its last line: forces the file to disk and records where the
    // route's lines end. False when either fails.
    bool Commit();
    // Commit for an upload that may go on with later routes into the file:
    // the record is added to the journal, which is forced to disk in place.
    bool CommitAndContinue();
    // CommitAndContinue in two halves. Where the route's lines end is taken
    // now (the caller has written them all), and the journal goes on from
    // there at once: Continue may follow before the returned half has run.
    // The route may be marked uploaded only once that half returned true.
    // Nullopt when the file cannot be examined.
    std::optional<JournalCommit> PrepareCommit();
    // Before the first line of the next route, after CommitAndContinue:
    // nothing is written, the journal already says where its lines begin.
    // False when the file changed since.
    bool Continue(const std::string& route, std::uint32_t routeRecord);
    // The route is marked uploaded, or its lines were taken back: removes
    // the journal. False when it stays (a later Settle deals with it).
    bool End();

  private:
    enum class State { Pending, Committed, Continued };
    struct Record {
        State state = State::Pending;
        std::uint64_t start = 0;
        std::uint64_t end = 0;
        std::uint64_t device = 0;  // 0 with inode 0: the file did not exist
        std::uint64_t inode = 0;
        std::uint32_t handheld = 0;
        std::uint32_t routeRecord = 0;
        std::string route;
    };

    static std::string Format(const Record& record);
    static bool Parse(std::string_view line, Record& record);
    // The records of a journal file, oldest first: false when it is damaged.
    static bool ParseAll(const std::string& text, std::vector<Record>& records);
    // Where the file is to be cut back to, by the journal's records.
    static std::optional<std::uint64_t> CutPoint(const std::vector<Record>& records,
                                                 std::uint64_t size, std::uint32_t handheld,
                                                 const RouteAwaitsUpload& routeAwaitsUpload,
                                                 bool& doubtful);
    bool Write(const Record& record) const;

    std::string file_;
    std::string path_;
    std::string settledRoute_;
    Record record_;
    bool fileIsNew_ = false;  // Begin found no file: its name is still to be flushed
};
