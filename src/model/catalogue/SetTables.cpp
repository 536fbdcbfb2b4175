// Sets: names and descriptions. A set starts with one element until its size is known.

#include "model/catalogue/Catalogue.hpp"

namespace model {

const PropsTable<SetID> SetProps = {
    {set_NodesAll,    {"NodesAll", 1, 1}},
    {set_CellsAll,    {"CellsAll", 1, 1}},
    {set_CellsFix,    {"CellsFix", 1, 1}},
    {set_ClHydSrc,    {"ClHydSrc", 1, 1}},
    {set_EdgesAll,    {"EdgesAll", 1, 1}},
    {set_EdgHydWL,    {"EdgHydWL", 1, 1}},
    {set_EdgMorWL,    {"EdgMorWL", 1, 1}},
    {set_EdgSclWL,    {"EdgSclWL", 1, 1}},
    {set_EdgesSWE,    {"EdgesSWE", 1, 1}},
    {set_EdgesSCL,    {"EdgesSCL", 1, 1}},
    {set_EdgesEXN,    {"EdgesEXN", 1, 1}},
    {set_EdgHydBC,    {"EdgHydBC", 1, 1}},
    {set_EdgMorBC,    {"EdgMorBC", 1, 1}},
    {set_EdgTrcBC,    {"EdgTrcBC", 1, 1}},
    {set_NodeStrg,    {"NodeStrg", 1, 1}},
    {set_MatIDRgn,    {"MatIDRgn", 1, 1}},
    {set_EdgeData,    {"EdgeData", 1, 1}},
    {set_CellData,    {"CellData", 1, 1}},
    {set_InSeries,    {"InSeries", 1, 1}},
    {set_EdInterp,    {"EdInterp", 1, 1}},
    {set_ClInterp,    {"ClInterp", 1, 1}},
    {set_EdModDat,    {"EdModDat", 1, 1}},
    {set_ClModDat,    {"ClModDat", 1, 1}},
    {set_ClMorSrc,    {"ClMorSrc", 1, 1}},
    {set_ClTrcSrc,    {"ClTrcSrc", 1, 1}},
};

const DescriptionTable<SetID> SetDescription = {
    {set_NodesAll,    "Set of all the domain nodes, i.e. of the mesh vertices."},
    {set_CellsAll,    "Set of all the computational cells of the domain."},
    {set_CellsFix,    "Set of all computational cells with fixed bed elevation defined (subset of CELLSALL)."},
    {set_ClHydSrc,    "Set of cells that are affected by hydraulic source terms (subset of CELLSALL)."},
    {set_EdgesAll,    "Set of all the edges of the domain."},
    {set_EdgHydWL,    "Set of hydraulic boundary edges of type WALL (subset of EDGESALL)."},
    {set_EdgMorWL,    "Set of morphology boundary edges of type WALL (subset of EDGESALL)."},
    {set_EdgSclWL,    "Set of scalar boundary edges of type WALL (subset of EDGESALL)."},
    {set_EdgesSWE,    "Set of hydraulic internal edges where the Riemann Solver is applied (subset of EDGESALL)."},
    {set_EdgesSCL,    "Set of scalar internal edges where the solver for advection-diffusion equation is applied (subset of EDGESALL)."},
    {set_EdgesEXN,    "Set of morphology internal edges where the Riemann Solver for Exner-equation is applied (subset of EDGESALL)."},
    {set_EdgHydBC,    "Set of hydraulic boundary edges (subset of EDGESALL)."},
    {set_EdgMorBC,    "Set of morphology boundary edges (subset of EDGESALL)."},
    {set_EdgTrcBC,    "Set of scalar boundary edges (subset of EDGESALL)."},
    {set_NodeStrg,    "Set of nodeStrings where boundary conditions (or special output) are defined."},
    {set_MatIDRgn,    "Set of regions, composed by a collection of computational cells (indicated by MATids)."},
    {set_EdgeData,    "Set of the data containing information and parameters of the edge based boundary conditions."},
    {set_CellData,    "Set of the data containing information and parameters of the cell based sources."},
    {set_InSeries,    "Set of the time or value series provided by the user as separate text files."},
    {set_EdInterp,    "Set of the interpolations required to calculate the interpolated values for the different BCs."},
    {set_ClInterp,    "Set of the interpolations required to calculate the interpolated values for the different SRCs."},
    {set_EdModDat,    "Set of edge based data modifications that are evaluated before the boundary data can be used as such."},
    {set_ClModDat,    "Set of cell based data modifications that are evaluated before the source data can be used as such."},
    {set_ClMorSrc,    "Set of cells that are affected by morphological source terms (subset of CELLSALL)."},
    {set_ClTrcSrc,    "Set of cells that are affected by tracer source terms (subset of CELLSALL)."},
};

}  // namespace model
