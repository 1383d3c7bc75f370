#pragma once
// vboard --sim: the simulated robot as a board on a pseudo-terminal. The program set runs on
// the simulated robot in real time; the board answers the monitors' commands as a board does
// ("Ver", the sensor, compass, game-pad, ultrasonic and camera streams, outputs, LEDs and
// servos), with the simulated robot's readings.

namespace vboard {

/// True when the command line asks for the simulated robot.
bool wantsSimBoard(int argc, char** argv);

/// Runs it until SIGINT or SIGTERM; returns the process's exit status.
int runSimBoard(int argc, char** argv);

}  // namespace vboard
