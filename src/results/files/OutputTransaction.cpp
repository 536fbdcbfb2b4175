#include "results/files/OutputTransaction.hpp"

#include <sys/statvfs.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "interfaces/Failure.hpp"
#include "interfaces/LibraryFailure.hpp"

namespace fs = std::filesystem;

namespace results {
namespace {

// The staged names, where a crash handler can walk them without allocating:
// a slot's name is complete before the slot is marked used.
constexpr int liveSlots = 256;
constexpr std::size_t nameCapacity = 4096;  // the longest path the system opens, with its NUL

struct LiveName {
  volatile std::sig_atomic_t used;
  char path[nameCapacity];
};
LiveName liveNames[liveSlots];

int claimSlot(const std::string& temporary) {
  if (temporary.size() >= nameCapacity) failure::fail("the output name <", temporary, "> is too long");
  for (int slot = 0; slot < liveSlots; ++slot) {
    if (liveNames[slot].used) continue;
    std::memcpy(liveNames[slot].path, temporary.c_str(), temporary.size() + 1);
    std::atomic_signal_fence(std::memory_order_release);
    liveNames[slot].used = 1;
    return slot;
  }
  failure::fail("more than ", liveSlots, " output files in one run");
}

void releaseSlot(int slot) { liveNames[slot].used = 0; }

// A symbolic link stays a link: the file it names is the one replaced, also
// when that file does not exist yet.
fs::path realTarget(const std::string& target) {
  constexpr int mostLinks = 40;  // as the system follows them
  fs::path path = target;
  std::error_code error;
  for (int link = 0; link < mostLinks && fs::is_symlink(path, error); ++link) {
    const fs::path named = fs::read_symlink(path, error);
    if (error) break;
    path = named.is_absolute() ? named : path.parent_path() / named;
  }
  return path;
}

std::string comparable(const fs::path& path) {
  std::error_code error;
  const fs::path absolute = fs::absolute(path, error);
  return (error ? path : absolute).lexically_normal().string();
}

// Less than this left: the disk counts as full (a write fails before the
// last block is taken).
constexpr unsigned long long fullDiskMargin = 64u << 10;

bool exists(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

// Hidden, with the process and a counter in it: a name no user file has when
// it is chosen. The target's name is shortened so that the whole stays within
// the system's limit for one name.
std::string temporaryNameFor(const fs::path& target) {
  static unsigned long counter = 0;
  const std::string name = target.filename().string().substr(0, 200);
  const std::string prefix = "." + name + ".partial-" + std::to_string(getpid()) + "-";
  for (;;) {
    const std::string candidate = (target.parent_path() / (prefix + std::to_string(++counter))).string();
    if (!exists(candidate)) return candidate;
  }
}

// Permissions that a user gave the previous file survive its replacement.
void keepPermissions(const std::string& target, const std::string& temporary) {
  std::error_code error;
  const fs::file_status previous = fs::status(target, error);
  if (error || !fs::is_regular_file(previous)) return;
  fs::permissions(temporary, previous.permissions(), fs::perm_options::replace, error);
}

void moveIntoPlace(const std::string& temporary, const std::string& target) {
  if (!exists(temporary)) return;
  keepPermissions(target, temporary);
  if (std::rename(temporary.c_str(), target.c_str()) != 0)
    failure::fail("cannot put the output <", target, "> in place: renaming <", temporary,
                  "> failed: ", std::strerror(errno));
}

// The system refuses longer names when the file is opened or renamed, after
// the other files of the run were put in place.
std::string whyTooLong(const fs::path& real) {
  const std::size_t name = real.filename().string().size();
  if (name > NAME_MAX)
    return "its name has " + std::to_string(name) + " bytes, more than the " + std::to_string(NAME_MAX) +
           " the system allows for one name";
  const std::size_t path = comparable(real).size();
  if (path >= PATH_MAX)
    return "its path has " + std::to_string(path) + " bytes, more than the " + std::to_string(PATH_MAX - 1) +
           " the system allows";
  return std::string();
}

}  // namespace

std::string whyNotReplaceable(const std::string& target) {
  std::error_code loop;
  if (!fs::exists(fs::status(target, loop)) && loop == std::errc::too_many_symbolic_link_levels)
    return "it is a loop of symbolic links";
  const fs::path real = realTarget(target);
  const std::string tooLong = whyTooLong(real);
  if (!tooLong.empty()) return tooLong;
  const fs::path folder = real.parent_path().empty() ? fs::path(".") : real.parent_path();
  std::error_code error;
  const fs::file_status folderStatus = fs::status(folder, error);
  if (!fs::exists(folderStatus)) return "its folder <" + folder.string() + "> does not exist";
  if (!fs::is_directory(folderStatus)) return "<" + folder.string() + "> is not a folder";
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return "its folder <" + folder.string() + "> may not be written";
  const fs::file_status targetStatus = fs::status(real, error);
  if (!fs::exists(targetStatus)) return std::string();
  if (fs::is_directory(targetStatus)) return "it is a folder";
  if (!fs::is_regular_file(targetStatus)) return "it is not a regular file";
  if (::access(real.c_str(), W_OK) != 0) return "the file may not be written";
  return std::string();
}

OutputTransaction::~OutputTransaction() {
  for (const Staged& entry : staged) {
    ::unlink(entry.temporary.c_str());
    releaseSlot(entry.slot);
  }
  forgetPrevious();
}

std::string OutputTransaction::stage(const std::string& target) {
  const fs::path real = realTarget(target);
  const std::string key = comparable(real);
  for (const Staged& entry : staged)
    if (comparable(entry.target) == key) return entry.temporary;
  const std::string temporary = temporaryNameFor(real);
  const int slot = claimSlot(temporary);
  try {
    staged.push_back({real.string(), temporary, slot});
  } catch (...) {
    releaseSlot(slot);
    throw;
  }
  return temporary;
}

// A second name for the file a rename is about to replace, so that a later
// failure of the same commit can put it back; "" for a new target, or where
// the file system has no second names.
std::string OutputTransaction::keepPrevious(const std::string& target) {
  if (!exists(target)) return std::string();
  const std::string previous = temporaryNameFor(target);
  const int slot = claimSlot(previous);
  if (::link(target.c_str(), previous.c_str()) != 0) {
    releaseSlot(slot);
    return std::string();
  }
  kept.push_back({target, previous, slot});
  return previous;
}

// Undoes the renames of a commit that failed half-way: the replaced files go
// back, the new ones go.
void OutputTransaction::putBack(const std::vector<Placed>& placed) {
  for (auto entry = placed.rbegin(); entry != placed.rend(); ++entry)
    if (entry->previous.empty())
      ::unlink(entry->target.c_str());
    else
      std::rename(entry->previous.c_str(), entry->target.c_str());
}

void OutputTransaction::commit() {
  std::vector<Placed> placed;
  try {
    while (!staged.empty()) {
      const Staged& entry = staged.front();
      if (exists(entry.temporary)) {
        const std::string previous = keepPrevious(entry.target);
        moveIntoPlace(entry.temporary, entry.target);
        placed.push_back({entry.target, previous});
      }
      releaseSlot(entry.slot);
      staged.erase(staged.begin());
    }
  } catch (...) {
    putBack(placed);
    forgetPrevious();
    throw;
  }
  forgetPrevious();
}

void OutputTransaction::forgetPrevious() {
  for (const Staged& entry : kept) {
    ::unlink(entry.temporary.c_str());
    releaseSlot(entry.slot);
  }
  kept.clear();
}

// A library that could not write says so in its own terms ("Write failed");
// a disk that is full then is the reason, told with the target's name.
std::string OutputTransaction::targetOnAFullDisk(const std::string& text) const {
  for (const Staged& entry : staged) {
    if (text.find(entry.target) == std::string::npos) continue;
    struct statvfs disk {};
    const std::string folder = fs::path(entry.temporary).parent_path().string();
    if (::statvfs(folder.empty() ? "." : folder.c_str(), &disk) != 0) continue;
    const unsigned long long available = static_cast<unsigned long long>(disk.f_bavail) * disk.f_frsize;
    if (available < fullDiskMargin) return entry.target;
  }
  return std::string();
}

void OutputTransaction::writing(const std::function<void()>& writes) const {
  try {
    writes();
  } catch (const BaseException&) {
    throw;
  } catch (const std::exception& failure) {
    const std::string text = withTargetNames(failure.what());
    if (text == failure.what()) throw;
    const std::string full = targetOnAFullDisk(text);
    if (!full.empty()) failure::fail("no space left on the device while writing <", full, ">");
    if (const auto* library = dynamic_cast<const api::LibraryFailure*>(&failure))
      std::rethrow_exception(library->withText(text));
    throw std::runtime_error(text);
  }
}

std::string OutputTransaction::withTargetNames(std::string text) const {
  for (const Staged& entry : staged)
    for (std::size_t at = text.find(entry.temporary); at != std::string::npos;
         at = text.find(entry.temporary, at + entry.target.size()))
      text.replace(at, entry.temporary.size(), entry.target);
  return text;
}

void removeStagedFiles() noexcept {
  for (const LiveName& name : liveNames)
    if (name.used) ::unlink(name.path);
}

}  // namespace results
