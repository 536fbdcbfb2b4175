#include "h5/H5File.hpp"

#include "h5/H5Calls.hpp"
#include "h5/H5Exceptions.hpp"
#include "h5/H5ReadRecord.hpp"
#include "h5/H5Silence.hpp"

namespace h5 {
namespace {

// Opening reads the file's superblock and root group.
FileHandle openInMode(const std::string& fileName, const std::string& mode) {
  if (mode == "w") return createFile(fileName);
  const ReadScope reading(fileName, "/");
  return openFile(fileName, mode == "rw" ? Access::ReadWrite : Access::ReadOnly);
}

bool isRoot(const std::string& path) { return !path.empty() && path.find_first_not_of('/') == std::string::npos; }

}  // namespace

File::File(const std::string& fileName, const std::string& mode) : name(fileName), handle(openInMode(fileName, mode)) {}

Id File::id() const {
  if (!isOpen()) throw FileException("Unable to use the closed file " + name);
  return handle.id();
}

bool File::exist(const std::string& path) const {
  const Id file = id();
  if (isRoot(path)) return true;
  SilenceErrors silence;
  return linkExists(file, path);
}

void File::flush() { flushFile(id(), name); }

void File::close() {
  flush();
  closeFile(handle, name);
}

}  // namespace h5
