#pragma once
// Flood hazard classes H1 to H6 of the combined hazard curves of the
// Australian flood hazard guideline (AIDR 2017): how dangerous the flow is
// to people, vehicles and buildings, from depth D (m) and speed V (m/s).

namespace results {

struct HazardLimit {
  int hazardClass;
  double depthTimesSpeed;  // D * V at most this
  double depth;            // D at most this
  double speed;            // V at most this
};

// Ascending; a flow that exceeds the last is H6.
inline constexpr HazardLimit hazardLimits[] = {
    //  class   D*V    D     V
    {1,         0.3,   0.3,  2.0},
    {2,         0.6,   0.5,  2.0},
    {3,         0.6,   1.2,  2.0},
    {4,         1.0,   2.0,  2.0},
    {5,         4.0,   4.0,  4.0},
};
inline constexpr int highestHazardClass = 6;

// The lowest class whose three limits all hold; 0 when either value is not
// a number.
int hazardClassOf(double depth, double speed);

}  // namespace results
