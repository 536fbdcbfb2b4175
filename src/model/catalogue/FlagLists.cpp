// The identifiers that carry one of the entity flags.

#include "model/catalogue/Catalogue.hpp"

namespace model {

// Data that the simulation computes during a step rather than advances.
const std::vector<DataID> ComputedData = {
    data_IsWetted, data_FlowCurv, data_ThetaShd, data_ThetaCrt, data_BedTrCap, data_BedTrDer,
    data_BedGrdnt, data_TrTensor, data_FluxesHy, data_FluxesMo, data_FluxesTr, data_FluxesGr,
    data_StateVar, data_ChezyCoe, data_LocalDat, data_NewBedEl, data_FloodVar,
};

// The mesh and the nodestring names: written once, needed by every export.
const std::vector<DataID> StaticData = {data_Topology, data_Coordnts_Nodes, data_StrNames};

const std::vector<ParameterID> ComputedParameters = {InvGravity, InvBedPorosity, SedRelDensity};

// Outputs that a model carries from composition on and that cannot be requested by name.
const std::vector<OutputID> MarkedOutputs = {flood_tracking};

}  // namespace model
