#pragma once

#include <string>

namespace onefortwo {

// The login name of the desktop user running the station, for the journal's record of
// who commanded what: the password database's name of the real user id, else getlogin(),
// else $USER (on Windows $USERNAME); "unknown" when none says.
std::string DesktopUserName();

}  // namespace onefortwo
