#pragma once
// A form of the time-step document: how it declares the mesh and where each
// attribute of a step takes its values. The export hands every form the same
// calls, in the same order: the mesh, then per step the time and the outputs.

#include <memory>
#include <string>

#include "interfaces/IEntities.hpp"
#include "interfaces/IEnvelopeWriter.hpp"
#include "interfaces/IH5Reader.hpp"

namespace results {

class DocumentForm {
 public:
  virtual ~DocumentForm() = default;
  // Declares the mesh; the number of cells.
  virtual int addMesh() = 0;
  virtual void addTimeStep(double time) = 0;
  // The output's attributes at the step, into the open step.
  virtual void addOutput(api::IOutput* out, int step) = 0;
  virtual void write(const std::string& documentFile) = 0;
  // The envelope document of this form, and the file its mesh is read from
  // as the document's folder sees it.
  virtual std::unique_ptr<api::IEnvelopeWriter> envelopeDocument(double lastTime) const = 0;
  virtual const std::string& meshFile() const = 0;
  // The stored dataset at path as this form holds it whole for the open
  // step, or nothing where the form reads no whole tables.
  virtual const api::DoubleTable* heldTable(const std::string&) { return nullptr; }
};

}  // namespace results
