#include "dataio/gis/GdalSession.hpp"

#include <cpl_error.h>
#include <gdal.h>

#include <mutex>

namespace dataio {

GdalSession::GdalSession() {
  static std::once_flag registered;
  std::call_once(registered, [] { GDALAllRegister(); });
  CPLPushErrorHandler(CPLQuietErrorHandler);
  CPLErrorReset();
}

GdalSession::~GdalSession() { CPLPopErrorHandler(); }

std::string GdalSession::lastError(const std::string& stagedFile, const std::string& fileName) const {
  const char* message = CPLGetLastErrorMsg();
  std::string text = message == nullptr ? std::string() : std::string(message);
  if (stagedFile.empty()) return text;
  for (std::size_t at = text.find(stagedFile); at != std::string::npos;
       at = text.find(stagedFile, at + fileName.size()))
    text.replace(at, stagedFile.size(), fileName);
  return text;
}

bool GdalSession::failed() const {
  const CPLErr kind = CPLGetLastErrorType();
  return kind == CE_Failure || kind == CE_Fatal;
}

}  // namespace dataio
