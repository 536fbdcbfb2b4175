#include "dataio/xdmf/TimeStepDocument.hpp"

#include "interfaces/Failure.hpp"

namespace dataio {

TimeStepDocument::TimeStepDocument(const std::string& version, bool xinclude, const std::string& collection,
                                   const std::string& meshReference, TimeNotation notation)
    : meshFileReference(meshReference), timeNotation(notation), collectionName(collection) {
  builder.setVersion(version);
  if (xinclude) builder.setNamespace("xi", "http://www.w3.org/2001/XInclude");
  builder.setNewLine("\n");
  builder.setIndentation(4);
  builder.beginTag("Domain");
}

void TimeStepDocument::write(const std::string& fileName) {
  if (timeOpen) builder.endTag("Grid");
  if (temporalOpen) builder.endTag("Grid");
  builder.endTag("Domain");
  builder.generate(fileName);
}

// <Grid GridType="Uniform" Name="Timestep">
void TimeStepDocument::addTimeStep(double time) {
  RESULTS_CHECK(this->meshAdded, "you must define a mesh before adding a time step!");
  if (!temporalOpen) openTemporalCollection();
  if (timeOpen) builder.endTag("Grid");
  builder.beginGrid("Timestep", "Uniform");
  addStepHeader(time);
  timeOpen = true;
}

// <Grid GridType="Collection" Name="run.h5" CollectionType="Temporal">
void TimeStepDocument::openTemporalCollection() {
  builder.beginGrid(collectionName, "Collection");
  builder.setCollectionType("Temporal");
  temporalOpen = true;
}

}  // namespace dataio
