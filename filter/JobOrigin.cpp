#include "filter/JobOrigin.h"

#include <arpa/inet.h>
#include <strings.h>

#include <cstring>
#include <string>

bool IsLocalJobOrigin(const char* host) {
    if (host == nullptr || *host == '\0') return false;
    if (strcasecmp(host, "localhost") == 0) return true;
    std::string name(host);
    if (name.size() > 2 && name.front() == '[' && name.back() == ']')
        name = name.substr(1, name.size() - 2);
    struct in_addr v4;
    if (inet_pton(AF_INET, name.c_str(), &v4) == 1) return (ntohl(v4.s_addr) >> 24) == 127;
    struct in6_addr v6;
    if (inet_pton(AF_INET6, name.c_str(), &v6) != 1) return false;
    if (IN6_IS_ADDR_LOOPBACK(&v6)) return true;
    return IN6_IS_ADDR_V4MAPPED(&v6) && v6.s6_addr[12] == 127;
}
