#pragma once
// The results tool: export of a run's results file, or restore of its archive.

#include <memory>
#include <string>

#include "TorvanelMain.hpp"

class TorvanelResults : public TorvanelMain {
 public:
  TorvanelResults();
  ~TorvanelResults() override;

  void defineArguments(int argc, char** argv) override;
  bool needsConfiguration() override;
  void execute() override;

  std::string getResultsFile() const;
  std::string getOutputFile() const;

 private:
  std::unique_ptr<TCLAP::ValueArg<std::string>> resultsArg;
  std::unique_ptr<TCLAP::ValueArg<std::string>> outputArg;
};
