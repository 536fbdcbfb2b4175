#include "app/TorvanelMain.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/CrashGuard.hpp"
#include "interfaces/EchoedText.hpp"
#include "interfaces/Failure.hpp"
#include "interfaces/InputFile.hpp"
#include "validator/JsonValidator.hpp"

namespace {

std::string commandLineMessage(const char* name) {
  return std::string("This is the '") + name + "' binary of the TORVANEL framework.";
}

[[noreturn]] void reportArgumentFailure(const TCLAP::ArgException& e) {
  std::cerr << " -> " << "error: " << text::echoed(e.error()) << " for arg " << text::echoed(e.argId()) << std::endl;
  throw BaseException();
}

[[noreturn]] void killed(const std::exception& e) {
  std::cerr << " -> " << e.what() << std::endl;
  std::exit(1);
}

[[noreturn]] void killedUnhandled(const char* what) {
  std::cerr << " -> " << "unhandled exception (actually, this should never happen)" << std::endl;
  std::cerr << " -> " << what << std::endl;
  std::cerr << " -> " << BaseException().what() << std::endl;
  std::exit(1);
}

// One step of the run cycle with the handler set of the frame.
template <typename Step>
void guarded(Step&& step) {
  try {
    step();
  } catch (const TCLAP::ArgException& e) {
    reportArgumentFailure(e);
  } catch (const BaseException& e) {
    killed(e);
  } catch (const std::exception& e) {
    killedUnhandled(e.what());
  }
}

// A BaseException raised by an argument-exception handler, and anything that
// is not a std::exception, still ends the process with status 1 and a message,
// never through std::terminate.
template <typename Steps>
void outermost(Steps&& steps) {
  try {
    steps();
  } catch (const BaseException& e) {
    killed(e);
  } catch (...) {
    killedUnhandled("an exception of unknown type");
  }
}

// A directory "opens" as a stream on some systems, but is no configuration file.
bool isReadableFile(const std::string& path, const std::ifstream& stream) {
  std::error_code error;
  return stream.good() && !std::filesystem::is_directory(path, error);
}

// A console that is gone (a pipe whose reader ended, a full disk behind a
// redirection) loses the run's report: that is a failure, said where it can
// still be read.
bool consoleWritten() {
  if (std::cout.flush() && std::fflush(stdout) == 0) return true;
  std::cerr << " -> the console's lines could not all be written to the standard output (a closed pipe or a full "
               "disk), so the run's report is incomplete"
            << std::endl;
  return false;
}

}  // namespace

TorvanelMain::TorvanelMain(const char* name, const char* binary)
    : TorvanelCmdLine(commandLineMessage(name), binary) {}

void TorvanelMain::init(int argc, char** argv) {
  outermost([&] {
    try {
      defineArguments(argc, argv);
      parse(argc, argv);
    } catch (const TCLAP::ArgException& e) {
      reportArgumentFailure(e);
    }
  });
}

int TorvanelMain::run() {
  results::installCrashGuard();
  outermost([&] {
    bool configurationNeeded = false;
    guarded([&] { configurationNeeded = needsConfiguration(); });
    if (configurationNeeded) {
      guarded([&] {
        const std::string configFile = getConfigFile();
        loadConfiguration(configFile, configurationSchema);
      });
    }
    guarded([&] { execute(); });
  });
  return consoleWritten() ? 0 : 1;
}

void TorvanelMain::loadConfiguration(const std::string& configFile, const char* schema) {
  if (inputs::isSpecialFile(configFile))
    failure::fail("configuration file <", configFile, "> is not a regular file");
  std::ifstream document(configFile);
  if (!isReadableFile(configFile, document)) failure::fail("configuration file not found: ", configFile);
  std::istringstream schemaStream{std::string(schema)};
  jsv::JsonValidator validator(&std::cout);
  if (validator.validate(document, schemaStream) == jsv::ValidationStatus::Errors)
    failure::fail("Terminating TORVANEL due to JSON validation errors.");
}
