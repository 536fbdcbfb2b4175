// Damages a copy of a valid results file the way a disk, a transfer or a
// crash of the writer would: bytes changed at random, a random span
// overwritten, or the file cut short. The same seed gives the same damage, so
// that a finding can be made again. Prints what it did.
//   mutate-results <valid file> <damaged file> <seed>

#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>

namespace {

std::string readAll(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Metadata (superblock, object headers, heaps, B-trees) sits mostly near the
// front of a small file, and a change there reaches the library's parsers.
std::size_t position(std::mt19937& random, std::size_t size) {
  const std::size_t front = size < 4096 ? size : 4096;
  if (random() % 2 == 0) return random() % front;
  return random() % size;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: mutate-results <valid file> <damaged file> <seed>\n";
    return 2;
  }
  std::string bytes = readAll(argv[1]);
  if (bytes.empty()) {
    std::cerr << "empty or missing " << argv[1] << "\n";
    return 2;
  }
  std::mt19937 random(static_cast<std::uint32_t>(std::stoul(argv[3])));
  switch (random() % 4) {
    case 0:
    case 1: {
      const unsigned count = 1 + random() % 8;
      std::cout << "changed " << count << " bytes at";
      for (unsigned i = 0; i < count; ++i) {
        const std::size_t at = position(random, bytes.size());
        bytes[at] = static_cast<char>(random() & 0xFFu);
        std::cout << ' ' << at;
      }
      std::cout << '\n';
      break;
    }
    case 2: {
      const std::size_t at = position(random, bytes.size());
      const std::size_t length = std::min<std::size_t>(1 + random() % 64, bytes.size() - at);
      for (std::size_t i = 0; i < length; ++i) bytes[at + i] = static_cast<char>(random() & 0xFFu);
      std::cout << "overwrote " << length << " bytes from " << at << '\n';
      break;
    }
    default: {
      const std::size_t kept = random() % bytes.size();
      bytes.resize(kept);
      std::cout << "cut to " << kept << " bytes\n";
    }
  }
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out << bytes;
  return out ? 0 : 1;
}
