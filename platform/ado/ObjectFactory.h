// Making the database objects. As with a component runtime, a caller learns
// that an object cannot be made from a failure code rather than an error:
// 0 and the object, or the code and nothing.
#pragma once

#include <cstdint>
#include <memory>

namespace wexal::ado {

class Command;
class Connection;
class Recordset;

enum class ObjectClass { Connection, Command, Recordset };

std::int32_t CreateInstance(std::shared_ptr<Connection>& object);
std::int32_t CreateInstance(std::unique_ptr<Command>& object);
std::int32_t CreateInstance(std::unique_ptr<Recordset>& object);

// While alive, every object of `objectClass` fails to be made with `code`, as
// on a machine where the class is not available. For tests of the callers'
// handling of that failure.
class UnavailableClass {
  public:
    UnavailableClass(ObjectClass objectClass, std::int32_t code);
    ~UnavailableClass();
    UnavailableClass(const UnavailableClass&) = delete;
    UnavailableClass& operator=(const UnavailableClass&) = delete;

  private:
    ObjectClass objectClass_;
};

}  // namespace wexal::ado
