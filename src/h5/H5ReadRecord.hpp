#pragma once
// What the program is reading, kept where a crash handler can find it: the
// HDF5 library can crash inside a read of a damaged file, and the handler then
// names the file and the object. The storage is fixed and written before it
// is marked valid, so that a handler reads it without allocating.

#include <string>

namespace h5 {

// Records the file and the object path of a read for the scope's lifetime.
// Scopes nest: the outermost one names the read (an operation's own probes
// and openings belong to it). A scope that is not to record holds the place
// of the outermost one all the same.
class ReadScope {
 public:
  ReadScope(const std::string& fileName, const std::string& objectPath, bool record = true) noexcept;
  ~ReadScope();
  ReadScope(const ReadScope&) = delete;
  ReadScope& operator=(const ReadScope&) = delete;

 private:
  bool outermost;
};

// Marks a call into the HDF5 library, so that a crash of the program's own
// code within a read is not blamed on the file.
class LibraryCall {
 public:
  LibraryCall() noexcept;
  ~LibraryCall();
  LibraryCall(const LibraryCall&) = delete;
  LibraryCall& operator=(const LibraryCall&) = delete;
};

// For a crash handler, async-signal-safe: whether the library was inside a
// recorded read, and the file and object of that read (names longer than the
// storage are cut).
bool insideRecordedRead() noexcept;
const char* readFileName() noexcept;
const char* readObjectPath() noexcept;
// Counts the recorded reads, so that a handler can tell one long read from
// many short ones.
int readNumber() noexcept;

}  // namespace h5
