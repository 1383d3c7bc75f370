#pragma once
// The simulated board the firmware calls of User.c act on; one per process.

namespace kavel::sim {

class Simulation;

/// Makes `sim` the board the firmware calls act on.
void useSimulation(Simulation* sim);

}  // namespace kavel::sim
