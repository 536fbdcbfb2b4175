// Aggregates: names, descriptions, their key paths in the model input file and their kernels.

#include "model/catalogue/Catalogue.hpp"

namespace model {

const PropsTable<AggregateID> AggregateProps = {
    {hydraulics_aggr,             {"hydraulics_aggr",             0, 0}},
    {morphology_aggr,             {"morphology_aggr",             0, 0}},
    {tracers_aggr,                {"tracers_aggr",                0, 0}},
    {hyd_boundary_aggr,           {"hyd_boundary_aggr",           0, 0}},
    {mor_boundary_aggr,           {"mor_boundary_aggr",           0, 0}},
    {trc_boundary_aggr,           {"trc_boundary_aggr",           0, 0}},
    {mor_direction_curve_aggr,    {"mor_direction_curve_aggr",    0, 0}},
    {mor_direction_latslope_aggr, {"mor_direction_latslope_aggr", 0, 0}},
    {mor_fixedbed_aggr,           {"mor_fixedbed_aggr",           0, 0}},
    {mor_local_bed_slope,         {"mor_local_bed_slope",         0, 0}},
    {mor_gravtrsp_aggr,           {"mor_gravtrsp_aggr",           0, 0}},
    {mor_gravtrsp_fixbed_aggr,    {"mor_gravtrsp_fixbed_aggr",    0, 0}},
    {mor_shields_aggr,            {"mor_shields_aggr",            0, 0}},
    {hyd_friction_aggr,           {"hyd_friction_aggr",           0, 0}},
    {hyd_source_aggr,             {"hyd_source_aggr",             0, 0}},
    {mor_source_aggr,             {"mor_source_aggr",             0, 0}},
    {trc_source_aggr,             {"trc_source_aggr",             0, 0}},
    {hyd_flood_aggr,              {"hyd_flood_aggr",              0, 0}},
};

const DescriptionTable<AggregateID> AggregateDescription = {
    {hydraulics_aggr,             "This Aggregate is the basis and is required for all simulations. A circular dam break simulation is possible,        invoking DT calculation, flux calculation of type 'WALL' and 'SWE', and cell update."},
    {morphology_aggr,             "This Aggregate is the basis for morphological simulations, i.e. with integration of Exner equation."},
    {tracers_aggr,                "This Aggregate is the basis for tracer transport simulations."},
    {hyd_boundary_aggr,           "This Aggregate is used for hydraulic flux calculation that are neither of type 'WALL' nor 'SWE'.        The specific configuration of these boundaries is defined in the 'HYDRAULICS/BOUNDARY' block of the command file."},
    {mor_boundary_aggr,           "This Aggregate is used for morphological boundary flux calculation that are neither of type 'WALL' nor 'EXN'.        The specific configuration of these boundaries is defined in the 'MORPHOLOGY/BEDLOAD/BOUNDARY' block        of the command file."},
    {trc_boundary_aggr,           "This Aggregate is used for tracer flux calculation that are neither of type 'WALL' nor 'SVT'.        The specific configuration of these boundaries is defined in the 'TRACERS/BOUNDARY' block of the command file."},
    {mor_direction_curve_aggr,    "This Aggregate is used to account for local curvature effect on bed load transport direction (Engelund)."},
    {mor_direction_latslope_aggr, "This Aggregate is used to account for lateral bed slope effect on bed load transport direction (Talmon et al. 1995)."},
    {mor_fixedbed_aggr,           "This Aggregate is used to correct morphological fluxes due to fixed bed."},
    {mor_local_bed_slope,         "This Aggregate is used to correct the critical value for bed load formula (critical Shields or velocity)."},
    {mor_gravtrsp_aggr,           "This Aggregate is used to account for gravitational  transport, e.g. bank collapse."},
    {mor_gravtrsp_fixbed_aggr,    "This Aggregate is used to correct gravitational fluxes due to fixed bed"},
    {mor_shields_aggr,            "This Aggregate is used to calculate the non-dimensional bed shear stress or Shields stress."},
    {hyd_friction_aggr,           "This Aggregate is used to consider friction effects of the hydraulic simulation."},
    {hyd_source_aggr,             "This Aggregate is used to impose external hydraulic sources (mass)."},
    {mor_source_aggr,             "This Aggregate is used to impose external morphological sources (mass)."},
    {trc_source_aggr,             "This Aggregate is used to impose external tracer sources (mass)."},
    {hyd_flood_aggr,              "This Aggregate is used to track flood variables."},
};

const std::map<AggregateID, std::vector<std::string>> AggregatePaths = {
    {hydraulics_aggr,             {"SETUP/DOMAIN/VELDRIX_2D/HYDRAULICS"}},
    {morphology_aggr,             {"SETUP/DOMAIN/VELDRIX_2D/MORPHOLOGY"}},
    {tracers_aggr,                {"SETUP/DOMAIN/VELDRIX_2D/TRACERS"}},
    {hyd_boundary_aggr,           {"SETUP/DOMAIN/VELDRIX_2D/HYDRAULICS/BOUNDARY", "SETUP/DOMAIN/VELDRIX_2D/GEOMETRY/STRINGDEF"}},
    {mor_boundary_aggr,           {"SETUP/DOMAIN/VELDRIX_2D/MORPHOLOGY/BEDLOAD/BOUNDARY", "SETUP/DOMAIN/VELDRIX_2D/GEOMETRY/STRINGDEF"}},
    {trc_boundary_aggr,           {"SETUP/DOMAIN/VELDRIX_2D/TRACERS/BOUNDARY", "SETUP/DOMAIN/VELDRIX_2D/GEOMETRY/STRINGDEF"}},
    {mor_direction_curve_aggr,    {"SETUP/DOMAIN/VELDRIX_2D/MORPHOLOGY/BEDLOAD/DIRECTION/CURVATURE"}},
    {mor_direction_latslope_aggr, {"SETUP/DOMAIN/VELDRIX_2D/MORPHOLOGY/BEDLOAD/DIRECTION/LATERAL_SLOPE"}},
    {mor_fixedbed_aggr,           {"SETUP/DOMAIN/VELDRIX_2D/MORPHOLOGY/BEDMATERIAL/FIXED_BED"}},
    {mor_local_bed_slope,         {"SETUP/DOMAIN/VELDRIX_2D/MORPHOLOGY/INCIPIENT_MOTION"}},
    {mor_gravtrsp_aggr,           {"SETUP/DOMAIN/VELDRIX_2D/MORPHOLOGY/GRAVITATIONAL_TRANSPORT"}},
    {mor_gravtrsp_fixbed_aggr,    {"SETUP/DOMAIN/VELDRIX_2D/MORPHOLOGY/GRAVITATIONAL_TRANSPORT", "SETUP/DOMAIN/VELDRIX_2D/MORPHOLOGY/BEDMATERIAL/FIXED_BED"}},
    {mor_shields_aggr,            {"SETUP/DOMAIN/VELDRIX_2D/MORPHOLOGY", "SETUP/DOMAIN/VELDRIX_2D/HYDRAULICS/FRICTION"}},
    {hyd_friction_aggr,           {"SETUP/DOMAIN/VELDRIX_2D/HYDRAULICS/FRICTION"}},
    {hyd_source_aggr,             {"SETUP/DOMAIN/VELDRIX_2D/HYDRAULICS/SOURCE", "SETUP/DOMAIN/VELDRIX_2D/GEOMETRY/REGIONDEF"}},
    {mor_source_aggr,             {"SETUP/DOMAIN/VELDRIX_2D/MORPHOLOGY/SOURCE", "SETUP/DOMAIN/VELDRIX_2D/GEOMETRY/REGIONDEF"}},
    {trc_source_aggr,             {"SETUP/DOMAIN/VELDRIX_2D/TRACERS/SOURCE", "SETUP/DOMAIN/VELDRIX_2D/GEOMETRY/REGIONDEF"}},
    {hyd_flood_aggr,              {"SETUP/DOMAIN/VELDRIX_2D/HYDRAULICS/FLOOD"}},
};

const std::map<AggregateID, std::vector<KernelID>> Aggregate2Kernels = {
    {hydraulics_aggr,             {InitCellHydFeatures, TimeStepCalculation, HydWallBFluxes, HydInternalFluxes, Update}},
    {morphology_aggr,             {InitCellMorFeatures, MorWallBFluxes, MorBedloadTransport, MorInternalFluxes, Update}},
    {tracers_aggr,                {InitCellSclFeatures, ScalarStepCalculation, SclWallBFluxes, SclInternalFluxes, TrcDiffTensors, ScalarUpdate}},
    {hyd_boundary_aggr,           {NodeStringStateCalc, EdgeDataInterpolation, EdgeDataModification, HydBoundaryFluxes}},
    {mor_boundary_aggr,           {NodeStringStateCalc, EdgeDataInterpolation, EdgeDataModification, MorBoundaryFluxes}},
    {trc_boundary_aggr,           {NodeStringStateCalc, EdgeDataInterpolation, EdgeDataModification, TrcBoundaryFluxes}},
    {mor_direction_curve_aggr,    {CalCCurvature}},
    {mor_direction_latslope_aggr, {CalcBedGradient}},
    {mor_fixedbed_aggr,           {MorBedloadTransport, MorInternalFluxes, MorFixBedCorrection, MorFixBedCorrectionMax}},
    {mor_local_bed_slope,         {LocalBedSlope, CalcBedGradient}},
    {mor_gravtrsp_aggr,           {MorGravTrspCalc, MorGravTrspUpdate, MorGravTrspReset}},
    {mor_gravtrsp_fixbed_aggr,    {MorGravTrspFixBed, MorFixBedCorrection, MorFixBedCorrectionMax}},
    {mor_shields_aggr,            {MorCalcShields}},
    {hyd_friction_aggr,           {InitFrictionFeatures, HydFriction}},
    {hyd_source_aggr,             {CellDataInterpolation, CellDataModification, HydSource}},
    {mor_source_aggr,             {CellDataInterpolation, CellDataModification, MorSource}},
    {trc_source_aggr,             {CellDataInterpolation, CellDataModification, TrcSource}},
    {hyd_flood_aggr,              {HydFlood}},
};

}  // namespace model
