#include "app/TorvanelResults.hpp"

int main(int argc, char** argv) {
  int status = 0;
  {
    TorvanelResults application;
    application.init(argc, argv);
    status = application.run();
  }
  return status;
}
