// Settling the upload journals (UploadJournal.h) that a sync finds in the
// billing files it uploads into: before a route's first line, and once the
// upload is over for every billing file of the interface, so that a sync with
// nothing to upload still ends what a killed sync left behind and the office
// can roll the readings file and clear the exceptions file again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "conduit/UploadJournal.h"

// The handheld being synced, as its journals name it (0: unknown).
std::uint32_t SyncedHandheldId();

// Deals with what an upload killed or failed halfway left in the journal's
// file (logged when it cut, kept doubtful lines, failed or left the journal):
// false when nothing may be appended to the file now. Call it holding the
// file's billing-file lock.
bool SettleUploadJournal(UploadJournal& journal, std::uint32_t handheld,
                         UploadJournal::Purpose purpose = UploadJournal::Purpose::Append);

// The billing files of a text-file interface that have a journal beside
// them: the readings file, or, when `starNamesRoute` and the path holds a
// "*", every file of the route's own name that the path matches; then the
// exceptions-capture file. Looked for without any lock: no journal, no lock.
std::vector<std::string> BillingFilesWithJournals(const std::string& readingsPath,
                                                  bool starNamesRoute,
                                                  const std::string& exceptionsFile);

// After the upload: settles every journal of `files` that this sync can
// decide, one file's lock at a time. What cannot be settled is logged and
// stays for a later sync.
void SettleJournalsLeftBehind(const std::vector<std::string>& files);
