#include "app/TorvanelResults.hpp"

#include <iostream>

#include "app/ConfigurationSchema.hpp"
#include "interfaces/Failure.hpp"
#include "results/Results.hpp"
#include "results/ResultsInfo.hpp"

TorvanelResults::TorvanelResults() : TorvanelMain("results", "results") {
  configurationSchema = resultsConfigurationSchema;
}

// The tool's own options go before the common ones.
TorvanelResults::~TorvanelResults() {
  resultsArg.reset();
  outputArg.reset();
  infoArg.reset();
}

// Without --info the command line is exactly the export's: "-f" stays
// required, and its absence is the parser's failure.
void TorvanelResults::defineArguments(int argc, char** argv) {
  resultsArg = std::make_unique<TCLAP::ValueArg<std::string>>("r", "results", "h5 file with simulation results",
                                                              true, "", "string", *this);
  outputArg = std::make_unique<TCLAP::ValueArg<std::string>>("o", "output", "name of file for storing results",
                                                             false, "results.xdmf", "string", *this);
  infoArg = std::make_unique<TCLAP::SwitchArg>(
      "i", "info", "show what the results file holds (needs no configuration file, writes no file)", *this, false);
  if (switchGiven(*infoArg, argc, argv)) configFileOptional();
}

bool TorvanelResults::needsConfiguration() { return !infoRequested(); }

// --info reads the results file only: "-f" and "-o" are accepted and not used,
// so that it can be added to any export command. A restore asked for at the
// same time is refused rather than dropped, as --info promises to write nothing.
void TorvanelResults::execute() {
  if (infoRequested()) {
    if (!getArchiveFile().empty()) failure::fail("--info writes no file: restore the archive (-a) in a run of its own");
    results::printResultsInfo(getResultsFile(), std::cout);
    return;
  }
  const std::string configFile = getConfigFile();
  const std::string resultsFile = getResultsFile();
  // -n 1 given keeps the run on one thread; without -n the envelopes are
  // folded beside the export, as with more threads.
  const bool oneThread = threadsGiven() && getNrThreads() == 1;
  std::unique_ptr<api::IResults> driver(createResults(configFile, resultsFile, oneThread));
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
bool TorvanelResults::infoRequested() const { return infoArg->getValue(); }
