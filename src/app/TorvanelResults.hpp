#pragma once
// The results tool: export of a run's results file, restore of its archive,
// or a look inside the file (--info), which needs no configuration.

#include <memory>
#include <string>

#include "app/TorvanelMain.hpp"

class TorvanelResults : public TorvanelMain {
 public:
  TorvanelResults();
  ~TorvanelResults() override;

  void defineArguments(int argc, char** argv) override;
  bool needsConfiguration() override;
  void execute() override;

  std::string getResultsFile() const;
  std::string getOutputFile() const;
  bool infoRequested() const;

 private:
  std::unique_ptr<TCLAP::ValueArg<std::string>> resultsArg;
  std::unique_ptr<TCLAP::ValueArg<std::string>> outputArg;
  std::unique_ptr<TCLAP::SwitchArg> infoArg;
};
