#include "TorvanelResults.hpp"

#include "ConfigurationSchema.hpp"

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
  // Wired to the results driver once the export exists.
}

std::string TorvanelResults::getResultsFile() const { return resultsArg->getValue(); }
std::string TorvanelResults::getOutputFile() const { return outputArg->getValue(); }
