#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace quillet {

// The card store from the command line. Arguments and streams are UTF-8; returns the exit status:
// 0 done, 1 refused, not found or damaged data, 2 wrong usage.
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace quillet
