#include <csignal>

#include "app/TorvanelResults.hpp"

int main(int argc, char** argv) {
  // A closed pipe (`| head`) is a write error the run reports, not an end
  // without a word: even the banner can meet one.
  std::signal(SIGPIPE, SIG_IGN);
  int status = 0;
  {
    TorvanelResults application;
    application.init(argc, argv);
    status = application.run();
  }
  return status;
}
