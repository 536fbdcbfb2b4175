#include "app/TorvanelCmdLine.hpp"

#include <algorithm>
#include <iostream>

namespace {

const char* const versionText = "v3.1.0";

void printBanner(const std::string& binaryName) {
  std::cout << "TORVANEL v" << "3.1.0" << std::endl;
  std::cout << "Veldrix " << binaryName << " binary" << std::endl;
  std::cout << versionText << std::endl;
  std::cout << std::endl;
}

void printClosingMessage() {
  std::cout << std::endl;
  std::cout << std::string(60, '-') << std::endl;
  std::cout << " TORVANEL successfully processed all necessary jobs!" << std::endl;
  std::cout << std::endl;
}

}  // namespace

TorvanelCmdLine::TorvanelCmdLine(const std::string& message, const std::string& binaryName_)
    : TCLAP::CmdLine(message, ' ', versionText, true), binaryName(binaryName_) {
  // The banner comes before parsing, so it also precedes help, version and
  // parse-failure output.
  printBanner(binaryName);
  configFileArg = std::make_unique<ConfigFileArg>("f", "file", "the configuration file", true, "", "string", *this);
  debugLevelArg = std::make_unique<TCLAP::ValueArg<int>>("l", "log", "level of debug messages", false, 0, "int",
                                                         *this);
  nrThreadsArg = std::make_unique<TCLAP::ValueArg<int>>("n", "nthreads", "number of threads", false, 1, "int",
                                                        *this);
  archiveArg = std::make_unique<TCLAP::ValueArg<std::string>>("a", "archive", "restore the archive", false, "",
                                                              "string", *this);
}

// Reached only after a run that came back normally: every failure path ends
// the process with exit() before the application object is destroyed.
TorvanelCmdLine::~TorvanelCmdLine() {
  configFileArg.reset();
  debugLevelArg.reset();
  nrThreadsArg.reset();
  archiveArg.reset();
  printClosingMessage();
}

std::string TorvanelCmdLine::getConfigFile() const { return configFileArg->getValue(); }
int TorvanelCmdLine::getDebugLevel() const { return debugLevelArg->getValue(); }
int TorvanelCmdLine::getNrThreads() const { return nrThreadsArg->getValue(); }
bool TorvanelCmdLine::threadsGiven() const { return nrThreadsArg->isSet(); }
std::string TorvanelCmdLine::getArchiveFile() const { return archiveArg->getValue(); }

bool TorvanelCmdLine::switchGiven(const TCLAP::SwitchArg& option, int argc, char** argv) const {
  const auto takesValue = [this](const std::string& word) {
    return std::any_of(_argList.begin(), _argList.end(), [&](const TCLAP::Arg* arg) {
      return arg->isValueRequired() && (word == TCLAP::Arg::flagStartString() + arg->getFlag() ||
                                        word == TCLAP::Arg::nameStartString() + arg->getName());
    });
  };
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == TCLAP::Arg::nameStartString() || word == TCLAP::Arg::nameStartString() + TCLAP::Arg::ignoreNameString())
      return false;
    if (word == TCLAP::Arg::flagStartString() + option.getFlag() ||
        word == TCLAP::Arg::nameStartString() + option.getName())
      return true;
    if (takesValue(word)) ++i;
  }
  return false;
}

// The parser counted "-f" among the required options when it was added.
void TorvanelCmdLine::configFileOptional() {
  if (!configFileArg->isRequired()) return;
  configFileArg->optional();
  --_numRequired;
}
