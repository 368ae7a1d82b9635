#include "platform/posix/environment_posix.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/utf.h"

namespace quenzart {

std::u16string PosixEnvironment::LocalIP() {
  std::string address = "127.0.0.1";
  ifaddrs* interfaces = nullptr;
  if (getifaddrs(&interfaces) == 0) {
    for (const ifaddrs* entry = interfaces; entry != nullptr; entry = entry->ifa_next) {
      if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) continue;
      if ((entry->ifa_flags & IFF_UP) == 0 || (entry->ifa_flags & IFF_LOOPBACK) != 0) continue;
      char text[INET_ADDRSTRLEN];
      const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
      if (inet_ntop(AF_INET, &ipv4->sin_addr, text, sizeof text) != nullptr) {
        address = text;
        break;
      }
    }
    freeifaddrs(interfaces);
  }
  return FromUtf8(address);
}

std::string CurrentDirectoryPath() {
  std::string path(256, '\0');
  while (getcwd(path.data(), path.size()) == nullptr) {
    if (errno != ERANGE) return ".";
    path.resize(path.size() * 2);
  }
  path.resize(std::strlen(path.c_str()));
  return path;
}

std::u16string PosixEnvironment::CurrentDirectory() {
  return FromUtf8(CurrentDirectoryPath());
}

}  // namespace quenzart
