// Making objects, their timeouts, and a class made unavailable for the
// callers' tests.
#include <gtest/gtest.h>

#include <array>

#include "platform/ado/AdoError.h"
#include "platform/ado/Command.h"
#include "platform/ado/Connection.h"
#include "platform/ado/ObjectFactory.h"
#include "platform/ado/Recordset.h"

namespace wexal::ado {
namespace {

TEST(ObjectFactoryTest, UnavailableClassFailsWithItsCodeUntilRestored) {
    std::unique_ptr<Command> command = std::make_unique<Command>();
    std::unique_ptr<Recordset> recordset;
    {
        UnavailableClass unavailable(ObjectClass::Command, kErrorClassNotAvailable);
        EXPECT_EQ(CreateInstance(command), kErrorClassNotAvailable);
        EXPECT_EQ(command, nullptr);
        // Other classes are not affected.
        EXPECT_EQ(CreateInstance(recordset), 0);
    }
    EXPECT_EQ(CreateInstance(command), 0);
    EXPECT_NE(command, nullptr);
}

// ADO's defaults, 15 seconds to connect and 30 a command, unless a test
// shortens them.
TEST(ObjectFactoryTest, ObjectsGiveUpAfterAdosDefaultsUnlessShortened) {
    const auto timeouts = [] {
        std::shared_ptr<Connection> connection;
        std::unique_ptr<Command> command;
        CreateInstance(connection);
        CreateInstance(command);
        return std::array{connection->ConnectionTimeout(), connection->CommandTimeout(),
                          command->CommandTimeout()};
    };
    {
        ShortenedTimeouts shortened(2, 1);
        EXPECT_EQ(timeouts(), (std::array{2, 1, 1}));
    }
    EXPECT_EQ(timeouts(), (std::array{15, 30, 30}));
}

TEST(ObjectFactoryTest, ObjectsWithoutConnectionRaiseErrors) {
    Command command;
    command.SetCommandText(u"SELECT 1");
    try {
        command.Execute();
        FAIL() << "no error";
    } catch (const AdoError& error) {
        EXPECT_EQ(error.Code(), kErrorObjectClosed);
    }
    Recordset recordset;
    EXPECT_THROW(recordset.IsEOF(), AdoError);
    EXPECT_THROW(recordset.GetFields(), AdoError);
    EXPECT_THROW(recordset.Open(u"SELECT 1", nullptr), AdoError);
    EXPECT_THROW(recordset.Open(u"SELECT 1", std::make_shared<Connection>()), AdoError);
    EXPECT_FALSE(recordset.IsOpen());
    Connection connection;
    EXPECT_THROW(connection.BeginTrans(), AdoError);
    EXPECT_NO_THROW(connection.Close());
}

}  // namespace
}  // namespace wexal::ado
