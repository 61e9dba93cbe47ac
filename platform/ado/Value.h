// A value of a column or parameter: a text in wide characters, or NULL.
#pragma once

#include <optional>
#include <string>

namespace wexal::ado {

using Value = std::optional<std::u16string>;

}  // namespace wexal::ado
