#include "OutputTransaction.hpp"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "Failure.hpp"

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

// A symbolic link stays a link: the file it names is the one replaced.
fs::path realTarget(const std::string& target) {
  std::error_code error;
  if (!fs::is_symlink(target, error)) return target;
  const fs::path resolved = fs::weakly_canonical(target, error);
  return error ? fs::path(target) : resolved;
}

std::string comparable(const fs::path& path) {
  std::error_code error;
  const fs::path absolute = fs::absolute(path, error);
  return (error ? path : absolute).lexically_normal().string();
}

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

}  // namespace

OutputTransaction::~OutputTransaction() {
  for (const Staged& entry : staged) {
    ::unlink(entry.temporary.c_str());
    releaseSlot(entry.slot);
  }
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

void OutputTransaction::commit() {
  while (!staged.empty()) {
    const Staged& entry = staged.front();
    moveIntoPlace(entry.temporary, entry.target);
    releaseSlot(entry.slot);
    staged.erase(staged.begin());
  }
}

void removeStagedFiles() noexcept {
  for (const LiveName& name : liveNames)
    if (name.used) ::unlink(name.path);
}

}  // namespace results
