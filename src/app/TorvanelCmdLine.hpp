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
  std::string getArchiveFile() const;

 private:
  std::string binaryName;
  std::unique_ptr<TCLAP::ValueArg<std::string>> configFileArg;
  std::unique_ptr<TCLAP::ValueArg<int>> debugLevelArg;
  std::unique_ptr<TCLAP::ValueArg<int>> nrThreadsArg;
  std::unique_ptr<TCLAP::ValueArg<std::string>> archiveArg;
};
