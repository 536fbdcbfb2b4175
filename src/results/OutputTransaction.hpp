#pragma once
// The files of a run are written under temporary names beside their targets
// and moved into place together once the whole run has succeeded: a failed
// run leaves every file as it was and no file of its own behind.

#include <string>
#include <vector>

namespace results {

class OutputTransaction {
 public:
  OutputTransaction() = default;
  // Removes every staged file that was not committed.
  ~OutputTransaction();
  OutputTransaction(const OutputTransaction&) = delete;
  OutputTransaction& operator=(const OutputTransaction&) = delete;

  // The name to write target's content under: a hidden name, unused when it is
  // chosen, in the folder of target (of the file it links to, for a symbolic
  // link), so that the final rename replaces the target in one step. The same
  // target staged again gets the same name. Writing nothing under it is fine:
  // such a target is left alone.
  std::string stage(const std::string& target);

  // Renames every staged file that was written onto its target, in staging
  // order (stage an auxiliary file before the document that names it). A
  // replaced target keeps its permissions. A failed rename is reported and
  // leaves the files after it staged, for the destructor to remove.
  void commit();

 private:
  struct Staged {
    std::string target;
    std::string temporary;
    int slot;
  };
  std::vector<Staged> staged;
};

// For a crash handler: removes the staged files of every live transaction,
// with async-signal-safe calls only.
void removeStagedFiles() noexcept;

}  // namespace results
