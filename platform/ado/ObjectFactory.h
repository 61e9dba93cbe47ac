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

// While alive, the Connection and Command objects made get these timeouts
// (seconds) in place of the defaults: for tests that must see a database
// give up without waiting half a minute for it.
class ShortenedTimeouts {
  public:
    ShortenedTimeouts(std::int32_t connectionSeconds, std::int32_t commandSeconds);
    ~ShortenedTimeouts();
    ShortenedTimeouts(const ShortenedTimeouts&) = delete;
    ShortenedTimeouts& operator=(const ShortenedTimeouts&) = delete;
};

}  // namespace wexal::ado
