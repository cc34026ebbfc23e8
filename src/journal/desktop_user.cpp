#include "journal/desktop_user.h"

#include <cstdlib>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace onefortwo {

std::string DesktopUserName() {
#ifndef _WIN32
  if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_name[0] != 0)
    return entry->pw_name;
  if (const char* login = ::getlogin(); login != nullptr && login[0] != 0) return login;
  const char* variable = "USER";
#else
  const char* variable = "USERNAME";
#endif
  if (const char* user = std::getenv(variable); user != nullptr && user[0] != 0) return user;
  return "unknown";
}

}  // namespace onefortwo
