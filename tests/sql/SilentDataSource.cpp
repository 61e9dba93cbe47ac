#include "tests/sql/SilentDataSource.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace wexal::testing {
namespace {

std::string Contents(const char* path) {
    std::ifstream in(path != nullptr ? path : "");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

SilentDataSource::SilentDataSource() : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (socket_ < 0 || ::bind(socket_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(socket_, 16) != 0 ||
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("no listening socket for the silent data source");
    }
    const std::filesystem::path ini = dir_ / "odbc.ini";
    WriteFile(ini, Contents(std::getenv("ODBCINI")) + "\n[" + kName +
                       "]\nDriver = PostgreSQL Unicode\nServername = 127.0.0.1\nPort = " +
                       std::to_string(ntohs(address.sin_port)) + "\nDatabase = billing\n");
    odbcIni_ = std::make_unique<ScopedEnv>("ODBCINI", ini.string());
}

SilentDataSource::~SilentDataSource() {
    ::close(socket_);
}

}  // namespace wexal::testing
