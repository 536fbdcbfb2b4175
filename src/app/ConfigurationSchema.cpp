#include "app/ConfigurationSchema.hpp"

const char* const resultsConfigurationSchema = R"schema(
{
  "$schema": "file://TORVANEL_MetaSchema.json",
  "type": "object",
  "required": ["RESULTS"],
  "properties": {
    "RESULTS": {
      "type": "object",
      "required": ["EXPORT"],
      "properties": {
        "EXPORT": {
          "type": "array",
          "items": {
            "type": "object",
            "description": "Parameter required for the output generation.",
            "required": ["format"],
            "optional": ["outputs", "from", "to", "every", "document", "mesh_2dm", "portable", "envelopes",
                         "gauges", "sections", "maps"],
            "properties": {
              "format": {
                "type": "string",
                "description": "Define the output format.",
                "enum": ["xdmf"]
              },
              "outputs": {
                "type": "array",
                "description": "The outputs to write, in this order (default: the outputs the simulation wrote).",
                "items": {
                  "type": "string",
                  "description": "The name of an output."
                }
              },
              "from": {
                "type": "number",
                "description": "The first simulation time in seconds to export, inclusive (default: the first stored time)."
              },
              "to": {
                "type": "number",
                "description": "The last simulation time in seconds to export, inclusive (default: the last stored time)."
              },
              "every": {
                "type": "integer",
                "minimum": 1,
                "default": 1,
                "description": "Keep every n-th stored time of the window, starting with its first."
              },
              "document": {
                "type": "string",
                "description": "The file name of this entry's document (default: the name given on the command line)."
              },
              "mesh_2dm": {
                "type": "boolean",
                "default": false,
                "description": "Also write the mesh as a 2DM file beside the document, named after its stem, for GIS mesh layers."
              },
              "portable": {
                "type": "boolean",
                "default": false,
                "description": "Write a document that needs no file but its auxiliary file: XDMF 3.0, the mesh and every value as plain datasets, for every XDMF reader."
              },
              "envelopes": {
                "type": "object",
                "description": "Also write the flood envelopes of the selected times (maxima with the time first reached, arrival time, wet duration, depth times speed) to the document named after the stem with _envelopes.xdmf.",
                "optional": ["wet_depth"],
                "properties": {
                  "wet_depth": {
                    "type": "number",
                    "minimum": 0,
                    "description": "A cell counts as wet when its water depth in metres is at least this (default: the run's minimum water depth, 0 when the results file has none)."
                  }
                }
              },
              "gauges": {
                "type": "array",
                "description": "Points whose cell's values at every selected time go to a CSV file named after the stem with _gauge_ and the gauge's name (at most 10000).",
                "items": {
                  "type": "object",
                  "required": ["name", "x", "y"],
                  "properties": {
                    "name": {
                      "type": "string",
                      "description": "Letters, digits, _ and -, unique within the entry."
                    },
                    "x": {
                      "type": "number",
                      "description": "The gauge's x coordinate, as the mesh's nodes have them."
                    },
                    "y": {
                      "type": "number",
                      "description": "The gauge's y coordinate, as the mesh's nodes have them."
                    }
                  }
                }
              },
              "sections": {
                "type": "array",
                "description": "Polylines whose discharge in m3/s at every selected time goes to the CSV file named after the stem with _sections (at most 10000).",
                "items": {
                  "type": "object",
                  "required": ["name", "points"],
                  "properties": {
                    "name": {
                      "type": "string",
                      "description": "Letters, digits, _ and -, unique within the entry."
                    },
                    "points": {
                      "type": "array",
                      "description": "Two or more points [x, y]; flow from the left to the right of the line, walked from its first point, counts as positive.",
                      "items": {
                        "type": "array",
                        "description": "A point [x, y].",
                        "items": {
                          "type": "number",
                          "description": "A coordinate."
                        }
                      }
                    }
                  }
                }
              },
              "maps": {
                "type": "object",
                "description": "Also write GeoTIFF rasters (Cloud Optimized, Float32, nodata -9999) named after the stem with _ and the map's name: one per scalar envelope and hazard_class_max when the entry writes the envelopes, one per output listed, and the flood outline as a GeoPackage.",
                "required": ["cell_size"],
                "optional": ["crs", "outputs", "outline"],
                "properties": {
                  "cell_size": {
                    "type": "number",
                    "minimum": 0,
                    "exclusiveMinimum": true,
                    "description": "The pixel size in metres; the rasters' edges lie on multiples of it."
                  },
                  "crs": {
                    "type": "string",
                    "description": "The coordinate system of the mesh, as PROJ knows it (EPSG:2056, a WKT, a PROJ string); every raster and layer carries it."
                  },
                  "outputs": {
                    "type": "array",
                    "description": "Scalar outputs of the entry to map, each in a raster of one band per selected time.",
                    "items": {
                      "type": "string",
                      "description": "The name of an output of the entry."
                    }
                  },
                  "outline": {
                    "type": "boolean",
                    "default": false,
                    "description": "Also write the outline of the cells whose maximum depth reached the envelopes' wet depth to the GeoPackage named after the stem with _outline.gpkg (needs the envelopes)."
                  }
                }
              }
            }
          }
        }
      }
    }
  }
}
)schema";
