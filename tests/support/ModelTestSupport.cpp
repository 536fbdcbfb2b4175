#include "support/ModelTestSupport.hpp"

#include "model/compose/Factory.hpp"

namespace model_testing {

std::unique_ptr<api::IModel> composeQuietly(const std::string& definition) {
  StreamCapture progress(std::cout);
  return std::unique_ptr<api::IModel>(compose(definition));
}

}  // namespace model_testing
