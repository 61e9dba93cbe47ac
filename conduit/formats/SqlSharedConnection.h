// What the phases of the SQL link share while WexalIfc_ODBC::Run runs: its
// one open connection, the two ways every phase uses it, and giving up on it.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ado/Recordset.h"
#include "platform/ado/Value.h"

namespace wexal::ado {
class AdoError;
class Connection;
}  // namespace wexal::ado

namespace sqllink {

// The connection of the Run under way; empty outside Run, and once the link
// gave up on the database.
std::shared_ptr<wexal::ado::Connection>& SharedConnection();

// A database that did not answer or lost the connection would make every
// further call wait out its own timeout: after the first such failure the
// link lets go of the connection and sends nothing more in this Run. True
// when `error` was such a failure.
bool GiveUpIfNotAnswering(const wexal::ado::AdoError& error);
// False once the link gave up on the database in this Run.
bool DatabaseAnswers();

// Runs a call text once on the shared connection, its parameters bound to
// the "?" marks. Throws AdoError, also when no Command can be made.
void ExecuteCall(std::u16string text, std::vector<wexal::ado::Value> parameters = {});

// A recordset opened on the shared connection. Throws AdoError, also when no
// Recordset can be made.
std::unique_ptr<wexal::ado::Recordset> OpenRecordset(std::u16string_view source);

// A message box with caption "Error".
void ShowError(const std::string& text);

// A failure of the link, once per failure: its first message box, and the
// box's text in the sync log (activity 21), so that the sync ends as one with
// errors. `detail` (which route, what the database said) goes to the log
// line only, on that one line. Further boxes about the same failure follow with ShowError.
void ReportFailure(const std::string& text, const std::string& detail = {},
                   const char* caption = "Error");
// The log line alone, for a failure that shows no box.
void LogFailure(const std::string& text, const std::string& detail = {});
// The database's own account of a failure, as a box shows it (UTF-8).
std::string DatabaseSays(const wexal::ado::AdoError& error);

}  // namespace sqllink
