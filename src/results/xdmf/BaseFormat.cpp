#include "results/xdmf/BaseFormat.hpp"

namespace results {

BaseFormat::BaseFormat(api::IResultReader*& reader_, api::IModel*& model_, const std::string& stem_)
    : reader(reader_), model(model_), stem(stem_) {}

}  // namespace results
