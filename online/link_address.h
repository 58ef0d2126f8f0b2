#pragma once
#include <string>

// Whether an address that came from the server may be opened by a link: a web page or a
// mail address. Anything else (a program, a local file, an unknown scheme) is not handed
// to the shell, because the server's text travels over plain HTTP.
bool IsOpenableAddress(const std::string& address);
