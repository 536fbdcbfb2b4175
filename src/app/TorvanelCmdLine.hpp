#pragma once
// The command line shared by every tool of the framework: the banner and the
// four common options.

#include <memory>
#include <string>

#include <tclap/CmdLine.h>

class TorvanelCmdLine : public TCLAP::CmdLine {
 public:
  TorvanelCmdLine(const std::string& message, const std::string& binaryName);
  ~TorvanelCmdLine() override;

  TorvanelCmdLine(const TorvanelCmdLine&) = delete;
  TorvanelCmdLine& operator=(const TorvanelCmdLine&) = delete;

  std::string getConfigFile() const;
  int getDebugLevel() const;
  int getNrThreads() const;
  bool threadsGiven() const;
  std::string getArchiveFile() const;

 protected:
  // Whether the switch stands on the command line, looked up before parsing
  // the way the parser will see it: the word after an option that takes a
  // value is that value, and nothing after "--" counts.
  bool switchGiven(const TCLAP::SwitchArg& option, int argc, char** argv) const;
  // For a tool's mode that reads no configuration: "-f" is then no longer
  // required. Called before parsing.
  void configFileOptional();

 private:
  // The configuration file option, whose requirement a tool's mode can lift.
  class ConfigFileArg : public TCLAP::ValueArg<std::string> {
   public:
    using TCLAP::ValueArg<std::string>::ValueArg;
    void optional() { _required = false; }
  };

  std::string binaryName;
  std::unique_ptr<ConfigFileArg> configFileArg;
  std::unique_ptr<TCLAP::ValueArg<int>> debugLevelArg;
  std::unique_ptr<TCLAP::ValueArg<int>> nrThreadsArg;
  std::unique_ptr<TCLAP::ValueArg<std::string>> archiveArg;
};
