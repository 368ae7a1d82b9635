#pragma once

#include <string>
#include <string_view>

namespace quenzart {

// The server program, named without a path so that it is searched for as a
// program, and started in the panel's current directory beside its
// configuration file.
inline constexpr std::u16string_view kServerCommandLine = u"quenzartsrv.exe";

// Ends the server from outside: the console debugger attaches to the one
// process of that image name and quits, which terminates it.
inline constexpr std::u16string_view kStopCommandLine = u"ntsd -noshell -c q -pn quenzartsrv.exe";

// Opens the server's web status page in the browser: "explorer.exe http://",
// the local address, ":" and the port text exactly as typed.
std::u16string StatusCommandLine(std::u16string_view localIp, std::u16string_view port);

}  // namespace quenzart
