#pragma once
// What both forms of the time-step document share: the root and its Domain,
// one temporal collection opened with the first step, one Grid per step that
// stays open for the step's attributes, and the order of calls they check.

#include <string>

#include "dataio/xdmf/TimeNotation.hpp"
#include "dataio/xdmf/XdmfTagBuilder.hpp"
#include "interfaces/IXdmfWriter.hpp"

namespace dataio {

class TimeStepDocument : public api::IXdmfWriter {
 public:
  void write(const std::string& fileName) override;
  void addTimeStep(double time) override;

 protected:
  // The mesh items name meshReference; the collection is named
  // collectionName. With xinclude the root declares the XInclude namespace.
  // Its times are written in notation.
  TimeStepDocument(const std::string& version, bool xinclude, const std::string& collectionName,
                   const std::string& meshReference, TimeNotation notation);

  // What a step's Grid holds before its attributes: the time and the mesh.
  virtual void addStepHeader(double time) = 0;

  XdmfTagBuilder builder;
  std::string meshFileReference;
  TimeNotation timeNotation;
  bool meshAdded = false;
  bool timeOpen = false;

 private:
  void openTemporalCollection();

  std::string collectionName;
  bool temporalOpen = false;
};

}  // namespace dataio
