#include "TorvanelResults.hpp"

#include "ConfigurationSchema.hpp"
#include "Results.hpp"

TorvanelResults::TorvanelResults() : TorvanelMain("results", "results") {
  configurationSchema = resultsConfigurationSchema;
}

// The tool's own options go before the common ones.
TorvanelResults::~TorvanelResults() {
  resultsArg.reset();
  outputArg.reset();
}

void TorvanelResults::defineArguments(int, char**) {
  resultsArg = std::make_unique<TCLAP::ValueArg<std::string>>("r", "results", "h5 file with simulation results",
                                                              true, "", "string", *this);
  outputArg = std::make_unique<TCLAP::ValueArg<std::string>>("o", "output", "name of file for storing results",
                                                             false, "results.xdmf", "string", *this);
}

bool TorvanelResults::needsConfiguration() { return true; }

void TorvanelResults::execute() {
  const std::string configFile = getConfigFile();
  const std::string resultsFile = getResultsFile();
  std::unique_ptr<api::IResults> driver(createResults(configFile, resultsFile));
  const std::string archiveFile = getArchiveFile();
  if (!archiveFile.empty()) {
    driver->restoreArchive(archiveFile);
  } else {
    const int debugLevel = getDebugLevel();
    driver->exportResults(debugLevel, getOutputFile());
  }
}

std::string TorvanelResults::getResultsFile() const { return resultsArg->getValue(); }
std::string TorvanelResults::getOutputFile() const { return outputArg->getValue(); }
