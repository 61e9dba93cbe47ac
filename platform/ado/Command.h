// A SQL text, a stored-procedure call included, run on a connection with text
// parameters bound to its "?" marks.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ado/Connection.h"
#include "platform/ado/Value.h"

namespace wexal::ado {

class Command {
  public:
    void SetActiveConnection(std::shared_ptr<Connection> connection);
    void SetCommandText(std::u16string text);
    // The next parameter, bound to the next "?" of the text. Parameters are
    // data: nothing in them is read as SQL.
    void AppendParameter(Value value);
    // How long Execute lets the text run before it gives up; 0 for good.
    std::int32_t CommandTimeout() const { return timeout_; }
    void SetCommandTimeout(std::int32_t seconds) { timeout_ = seconds; }

    // Runs the text once; rows that it returns are discarded unread. Throws
    // AdoError when there is no open connection or the driver reports an
    // error.
    void Execute();

  private:
    std::shared_ptr<Connection> connection_;
    std::u16string text_;
    std::vector<Value> parameters_;
    std::int32_t timeout_ = kDefaultCommandTimeout;
};

}  // namespace wexal::ado
