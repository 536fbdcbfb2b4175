#pragma once
// A table the export already holds whole, read as the step stream reads a
// dataset: the portable form reads each step's tables whole to copy them,
// and the envelopes then take their rows from there instead of reading the
// hydraulic state from the file a second time.

#include "interfaces/IH5Reader.hpp"

namespace results {

class TableRows : public api::IRowReader {
 public:
  // The table must outlive the reader.
  explicit TableRows(const api::DoubleTable& held) : table(held) {}
  int rows() const override { return table.rows; }
  int columns() const override { return table.columns; }
  void read(int first, int count, double* values) override;

 private:
  const api::DoubleTable& table;
};

}  // namespace results
