// The board's firmware library for a program run on the host: the calls the firmware headers
// declare (data/Sim/M_*.h), each handed to the simulated board. C linkage, so that User.c,
// compiled by the host's C compiler into a shared library, finds them in this process.

#include "sim/runtime/FirmwareApi.h"

#include <array>

#include "sim/Geometry.h"
#include "sim/LcdText.h"
#include "sim/Simulation.h"

namespace kavel::sim {
namespace {
Simulation* board = nullptr;
}
void useSimulation(Simulation* sim) { board = sim; }
}  // namespace kavel::sim

using kavel::sim::board;
using kavel::sim::Simulation;

namespace {

bool within(int value, int target, int range, bool circle) {
  const int diff = circle ? static_cast<int>(kavel::sim::signedAngle(value - target)) : value - target;
  return (diff < 0 ? -diff : diff) <= range;
}

}  // namespace

extern "C" {

int gV[26];
unsigned char gPwm[6];
unsigned int gTmpUint;

volatile unsigned int* kavel_sim_gAD(void) { return board->analogInputs(); }

void motor(int l, int r) { board->motor(l, r); }
void wait_ms(unsigned int t) { board->waitMs(t); }
void clr_timer(int t) { board->clearTimer(t); }
long get_timer(int t) { return board->timer(t); }
void pwm_out(void) { board->pwmOut(gPwm); }
void cn7_servo(unsigned int us) { board->setServo(6, static_cast<int>(us)); }
void cn8_servo(unsigned int us) { board->setServo(7, static_cast<int>(us)); }

void set_Led(int n, int on) { board->setLed(n, on != 0); }
int get_Led(int n) { return board->led(n) ? 1 : 0; }
void set_Lat(int cn, int level) { board->setLat(cn, level != 0); }
int get_Lat(int cn) { return board->lat(cn) ? 1 : 0; }

unsigned int get_ping(int cn) { return static_cast<unsigned>(board->ping(cn)); }
int get_temp(unsigned int ad) {
  board->call();
  return Simulation::temperature(ad);
}

void set_Uss(int cmd) { board->ultrasonic(cmd); }
unsigned int get_Uss(int n) { return static_cast<unsigned>(board->ultrasonicDistance(n)); }

unsigned int get_hmc(void) { return static_cast<unsigned>(board->direction(0, false)); }
int get_dir(int axis) { return board->direction(axis, false); }
int get_bno(int axis) { return board->direction(axis, true); }
int judge_hmc(int deg, int range) { return within(board->direction(0, false), deg, range, true); }
int judge_dir(int axis, int deg, int range) { return within(board->direction(axis, false), deg, range, axis == 0); }
int judge_bno(int axis, int deg, int range) { return within(board->direction(axis, true), deg, range, axis == 0); }

int i2c_get_pixy(void) { return board->cameraSeesAny() ? 1 : 0; }
int chk_pixydat_p(int sig, unsigned int cells) { return board->cameraSeesIn(sig, cells) ? 1 : 0; }
unsigned int get_pixydat_s(int sig) { return board->cameraSize(sig); }

// The simulated robot has no sub I/O boards: they read 0 and take nothing.
int sub_io_get_gV(int, int) {
  board->call();
  return 0;
}
void sub_io_set_gV(int, int, int) { board->call(); }
long sub_io_get_gT(int, int) {
  board->call();
  return 0;
}
unsigned int sub_io_get_sensor(int, int) {
  board->call();
  return 0;
}

void stt_snx4410(void) { board->call(); }
int chk_snx4410(unsigned int button) { return board->pad(button) ? 1 : 0; }

void lcd_putX(int line, const char* text) { board->lcd(line, kavel::sim::lcdFixedText(text)); }

static void lcdVars(int line, int count, std::array<int, 4> letters) {
  std::array<int, 4> values{};
  for (std::size_t i = 0; i < 4; ++i) values[i] = letters[i] >= 0 && letters[i] < 26 ? gV[letters[i]] : 0;
  board->lcd(line, kavel::sim::lcdVariables(count, letters, values));
}
void lcd_puts_var1(int line, int a) { lcdVars(line, 1, {a, 0, 0, 0}); }
void lcd_puts_var2(int line, int a, int b) { lcdVars(line, 2, {a, b, 0, 0}); }
void lcd_puts_var3(int line, int a, int b, int c) { lcdVars(line, 3, {a, b, c, 0}); }
void lcd_puts_var4(int line, int a, int b, int c, int d) { lcdVars(line, 4, {a, b, c, d}); }
void lcd_puts_sensor(int line, int a, int b, int c, int d) {
  board->lcd(line, kavel::sim::lcdSensors({board->analogReading(a), board->analogReading(b), board->analogReading(c),
                                           board->analogReading(d)}));
}

}  // extern "C"
