#include "model/entities/Kernel.hpp"

namespace model {

// Kernel records carry no usable size, so a kernel has no columns.
Kernel::Kernel(KernelID identifier, std::string entityName, std::string text, api::ISet* entitySet)
    : Base(identifier, std::move(entityName), std::move(text), 0), BaseSet(entitySet) {}

std::string Kernel::getPath() const { return pathOnSet(); }

void Kernel::print() const {
  std::printf("Kernel: %s\n", name.c_str());
  std::printf(" -> on set %s\n", set->getName().c_str());
}

KernelID Kernel::getID() const { return id; }

void Kernel::setExtraData(const std::vector<DataID>& data) { extraData = data; }

std::vector<DataID> Kernel::getExtraData() const { return extraData; }

}  // namespace model
