#include "platform/ado/Command.h"

#include "platform/ado/Connection.h"
#include "platform/ado/OdbcStatement.h"

namespace wexal::ado {

void Command::SetActiveConnection(std::shared_ptr<Connection> connection) {
    connection_ = std::move(connection);
}

void Command::SetCommandText(std::u16string text) {
    text_ = std::move(text);
}

void Command::AppendParameter(Value value) {
    parameters_.push_back(std::move(value));
}

void Command::Execute() {
    if (!connection_) {
        throw AdoError(kErrorObjectClosed, u"The command has no connection");
    }
    odbc::Statement statement(static_cast<SQLHDBC>(connection_->NativeHandle()), timeout_);
    // The command sees the rows added before it.
    connection_->SendHeldRows();
    statement.Execute(text_, parameters_);
}

}  // namespace wexal::ado
