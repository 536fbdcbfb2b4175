// Variables: the catalogue defines none, so no model ever holds one.

#include "model/catalogue/Catalogue.hpp"

namespace model {

const PropsTable<VariableID> VariableProps = {};
const DescriptionTable<VariableID> VariableDescription = {};

}  // namespace model
