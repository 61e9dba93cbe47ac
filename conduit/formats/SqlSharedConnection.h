// What the phases of the SQL link share while WexalIfc_ODBC::Run runs: its
// one open connection, and the two ways every phase uses it.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ado/Recordset.h"
#include "platform/ado/Value.h"

namespace wexal::ado {
class Connection;
}

namespace sqllink {

// The connection of the Run under way; empty outside Run.
std::shared_ptr<wexal::ado::Connection>& SharedConnection();

// Runs a call text once on the shared connection, its parameters bound to
// the "?" marks. Throws AdoError, also when no Command can be made.
void ExecuteCall(std::u16string text, std::vector<wexal::ado::Value> parameters = {});

// A recordset opened on the shared connection. Throws AdoError, also when no
// Recordset can be made.
std::unique_ptr<wexal::ado::Recordset> OpenRecordset(std::u16string_view source);

// A message box with caption "Error".
void ShowError(const std::string& text);

}  // namespace sqllink
