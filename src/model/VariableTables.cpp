// Variables: the catalogue defines none, so no model ever holds one.

#include "Catalogue.hpp"

namespace model {

const PropsTable<VariableID> VariableProps = {};
const DescriptionTable<VariableID> VariableDescription = {};

}  // namespace model
