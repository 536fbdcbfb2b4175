#include "h5/H5ReadRecord.hpp"

#include <atomic>
#include <csignal>
#include <cstring>

namespace h5 {
namespace {

constexpr std::size_t nameCapacity = 4096;

char fileName[nameCapacity];
char objectPath[nameCapacity];
volatile std::sig_atomic_t scopes = 0;
volatile std::sig_atomic_t recording = 0;
volatile std::sig_atomic_t reads = 0;
volatile std::sig_atomic_t libraryDepth = 0;

void copyCut(char* target, const std::string& text) {
  const std::size_t length = text.size() < nameCapacity ? text.size() : nameCapacity - 1;
  std::memcpy(target, text.data(), length);
  target[length] = '\0';
}

}  // namespace

ReadScope::ReadScope(const std::string& file, const std::string& object, bool record) noexcept
    : outermost(scopes == 0) {
  scopes = scopes + 1;
  if (!outermost || !record) return;
  copyCut(fileName, file);
  copyCut(objectPath, object);
  std::atomic_signal_fence(std::memory_order_release);
  reads = (reads + 1) & 0x3FFFFFFF;
  recording = 1;
}

ReadScope::~ReadScope() {
  scopes = scopes - 1;
  if (outermost) recording = 0;
}

LibraryCall::LibraryCall() noexcept { libraryDepth = libraryDepth + 1; }

LibraryCall::~LibraryCall() { libraryDepth = libraryDepth - 1; }

bool insideRecordedRead() noexcept { return recording != 0 && libraryDepth > 0; }

const char* readFileName() noexcept { return fileName; }

const char* readObjectPath() noexcept { return objectPath; }

int readNumber() noexcept { return reads; }

}  // namespace h5
