#pragma once
// The run cycle every tool shares: parse the command line, check the
// configuration file, do the tool's work, report the outcome.

#include <string>

#include "app/TorvanelCmdLine.hpp"

class TorvanelMain : public TorvanelCmdLine {
 public:
  TorvanelMain(const char* name, const char* binaryName);

  virtual void defineArguments(int argc, char** argv) = 0;
  virtual bool needsConfiguration() = 0;
  virtual void execute() = 0;

  void init(int argc, char** argv);
  int run();
  void loadConfiguration(const std::string& configFile, const char* schema);

 protected:
  const char* configurationSchema = nullptr;
};
