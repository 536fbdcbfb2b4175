#pragma once
// Runs code with a pseudo-terminal as its standard error, the way a user at a
// terminal runs the tool, and records every byte the terminal received.

#include <functional>
#include <string>

namespace testing_support {

struct TerminalRun {
  int status = -1;
  std::string terminal;  // as written: no end-of-line translation
};

// body runs in a child process and returns its exit status. Its standard
// output goes to the terminal as well when stdoutFile is empty, otherwise to
// that file. The terminal is columns wide.
TerminalRun runOnTerminal(const std::function<int()>& body, const std::string& stdoutFile = "",
                          unsigned short columns = 100);

}  // namespace testing_support
