// A SQL text, a stored-procedure call included, run on a connection with text
// parameters bound to its "?" marks.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ado/Value.h"

namespace wexal::ado {

class Connection;

class Command {
  public:
    void SetActiveConnection(std::shared_ptr<Connection> connection);
    void SetCommandText(std::u16string text);
    // The next parameter, bound to the next "?" of the text. Parameters are
    // data: nothing in them is read as SQL.
    void AppendParameter(Value value);

    // Runs the text once; rows that it returns are discarded unread. Throws
    // AdoError when there is no open connection or the driver reports an
    // error.
    void Execute();

  private:
    std::shared_ptr<Connection> connection_;
    std::u16string text_;
    std::vector<Value> parameters_;
};

}  // namespace wexal::ado
