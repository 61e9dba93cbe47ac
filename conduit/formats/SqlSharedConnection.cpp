#include "conduit/formats/SqlSharedConnection.h"

#include <algorithm>

#include "conduit/SyncLogActivity.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/Command.h"
#include "platform/ado/ObjectFactory.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/synclog/SyncLog.h"

namespace sqllink {

using wexal::ado::AdoError;

std::shared_ptr<wexal::ado::Connection>& SharedConnection() {
    static std::shared_ptr<wexal::ado::Connection> connection;
    return connection;
}

bool GiveUpIfNotAnswering(const AdoError& error) {
    if (!error.IsTimeoutOrLostConnection()) {
        return false;
    }
    SharedConnection().reset();
    return true;
}

bool DatabaseAnswers() {
    return SharedConnection() != nullptr;
}

void ExecuteCall(std::u16string text, std::vector<wexal::ado::Value> parameters) {
    std::unique_ptr<wexal::ado::Command> command;
    if (const std::int32_t code = wexal::ado::CreateInstance(command)) {
        throw AdoError(code, {});
    }
    command->SetActiveConnection(SharedConnection());
    command->SetCommandText(std::move(text));
    for (auto& parameter : parameters) {
        command->AppendParameter(std::move(parameter));
    }
    command->Execute();
}

std::unique_ptr<wexal::ado::Recordset> OpenRecordset(std::u16string_view source) {
    std::unique_ptr<wexal::ado::Recordset> recordset;
    if (const std::int32_t code = wexal::ado::CreateInstance(recordset)) {
        throw AdoError(code, {});
    }
    recordset->Open(source, SharedConnection());
    return recordset;
}

void ShowError(const std::string& text) {
    WexalMessageBox("Error", text.c_str());
}

void ReportFailure(const std::string& text, const std::string& detail, const char* caption) {
    WexalMessageBox(caption, text.c_str());
    LogFailure(text, detail);
}

void LogFailure(const std::string& text, const std::string& detail) {
    std::string line = "SQL Interface: " + text + (detail.empty() ? "" : " - " + detail);
    // The driver's diagnostics come one per line.
    std::replace(line.begin(), line.end(), '\n', ' ');
    LogAddEntry(line.c_str(), kActivityConfiguration, 0);
}

std::string DatabaseSays(const AdoError& error) {
    return error.what();
}

}  // namespace sqllink
