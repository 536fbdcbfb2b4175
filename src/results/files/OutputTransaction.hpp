#pragma once
// The files of a run are written under temporary names beside their targets
// and moved into place together once the whole run has succeeded: a failed
// run leaves every file as it was and no file of its own behind.

#include <functional>
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
  // replaced target keeps its permissions. A failed rename is reported, the
  // targets renamed before it get their previous files back (or go, when
  // they are new), and the files after it stay staged, for the destructor to
  // remove: a commit puts all of the run's files in place, or none.
  void commit();

  // Runs writes, which write staged files. A library's exception that names
  // a staged file leaves with the target's name in its place, and of its own
  // type: the user knows the file by that name, and the staged one is gone
  // with the transaction.
  void writing(const std::function<void()>& writes) const;

 private:
  std::string withTargetNames(std::string text) const;
  std::string targetOnAFullDisk(const std::string& text) const;

  struct Staged {
    std::string target;
    std::string temporary;
    int slot;
  };
  struct Placed {
    std::string target;
    std::string previous;  // the replaced file's second name, or ""
  };
  std::string keepPrevious(const std::string& target);
  static void putBack(const std::vector<Placed>& placed);
  void forgetPrevious();

  std::vector<Staged> staged;
  std::vector<Staged> kept;  // the replaced files, until the commit ends
};

// Why a file staged for target could not be put in its place, or "" when it
// can: its folder must exist and may be written, and target must be absent or
// a regular file that may be written (a folder, a FIFO or a device in its
// place, or a file its owner protected, is not replaced). Asked before
// anything is written, so that the user reads target's own name.
std::string whyNotReplaceable(const std::string& target);

// For a crash handler: removes the staged files of every live transaction,
// with async-signal-safe calls only.
void removeStagedFiles() noexcept;

}  // namespace results
