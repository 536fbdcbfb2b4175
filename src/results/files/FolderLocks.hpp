#pragma once
// Two runs that write the same names at once (two windows, a script started
// twice) would each put their own files in place, and the document of one
// could end up beside the auxiliary file of the other. A run holds a lock on
// every folder it writes into, from before its first write until its files
// are in place; a second run waits for it. The lock is the folder's own
// (flock on the folder), so no lock file is left beside the user's files.

#include <string>
#include <vector>

namespace results {

class FolderLocks {
 public:
  // Locks the folders of the files, each once, in one order for every run so
  // that two runs cannot wait for each other. A folder that cannot be opened
  // is left for the checks of the targets to report.
  explicit FolderLocks(const std::vector<std::string>& files);
  ~FolderLocks();
  FolderLocks(const FolderLocks&) = delete;
  FolderLocks& operator=(const FolderLocks&) = delete;

 private:
  std::vector<int> held;
};

}  // namespace results
