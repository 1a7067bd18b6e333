#include "environment/KroServer.h"

const std::optional<std::string>& KroServer::set(std::optional<std::string_view> serverName,
                                                 int32_t serverNumber,
                                                 std::optional<std::string_view> alternate) {
    clear();
    if (alternate) {
        hasAlternate = 1;
        isLocal = 0;
        alternatePath = std::string(*alternate);
    } else {
        hasAlternate = 0;
        isLocal = 1;
        number = serverNumber;
    }
    if (serverName) {
        name = std::string(*serverName);
    }
    return name;
}

void KroServer::clear() {
    name.reset();
    alternatePath.reset();
    number = -1;
}
