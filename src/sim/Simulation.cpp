#include "sim/Simulation.h"

#include <algorithm>
#include <cmath>

#include "sim/Geometry.h"
#include "sim/LcdText.h"
#include "sim/RobotModel.h"

namespace kavel::sim {
namespace {

constexpr int kOutL = 0, kOutH = 2, kPing = 3, kServo = 4, kThermistor = 6;
constexpr unsigned kThermistorAtRoom = 767;  // (1023 - 767) * 1000 / 1023 = 250

bool validConnector(int cn) { return cn >= 0 && cn < 10; }
bool isOutput(int mode) { return mode == kOutL || mode == kOutH; }

}  // namespace

Simulation::Simulation(World world, RobotConfig config)
    : world_(std::move(world)), config_(std::move(config)), physics_(world_) {
  for (std::size_t i = 0; i < 10; ++i) {
    lat_[i] = config_.modes[i] == kOutH;  // outputs start at their resting level
    servo_[i] = 1500;
  }
  lcd_ = {lcdFixedText(""), lcdFixedText("")};
}

unsigned Simulation::thermistorReading() { return kThermistorAtRoom; }

void Simulation::begin() {
  if (observer_) observer_->onSample(*this);
}

void Simulation::advance(std::int64_t us) {
  const std::int64_t target = now_ + us;
  while (now_ < target) {
    const std::int64_t nextStep = physicsAt_ + kPhysicsStepUs;
    if (target < nextStep) {
      now_ = target;
      break;
    }
    now_ = nextStep;
    physics_.step(kPhysicsStepUs / 1e6, kWheelSpeedPerUnit * motorLeft_, kWheelSpeedPerUnit * motorRight_);
    physicsAt_ = nextStep;
    ++steps_;
    if (now_ % kSampleStepUs == 0) boundary();
  }
}

void Simulation::boundary() {
  if (observer_) observer_->onSample(*this);
  if (interrupt_ && !inInterrupt_ && now_ % kInterruptPeriodUs == 0) {
    inInterrupt_ = true;
    interrupt_();
    inInterrupt_ = false;
  }
}

void Simulation::refreshWorldReadings() {
  if (readingsStep_ == steps_) return;
  readingsStep_ = steps_;
  const Point at = physics_.robotAt();
  const double heading = physics_.robotHeading();
  line_ = floorReading(world_, lineSensorSpot(at, heading));
  ball_ = ballReading(world_, at, heading, physics_.ballPositions());
  bumper_ = bumperOf(physics_.contactBearings());
  pingMm_ = edgeDistance(physics_, 0);
}

int Simulation::analogValue(int i) {
  const int mode = config_.modes[static_cast<std::size_t>(i)];
  if (isOutput(mode)) return lat_[static_cast<std::size_t>(i)] ? 1023 : 0;
  if (mode == kPing) return pingMm_;
  if (mode == kServo) return servo_[static_cast<std::size_t>(i)];
  if (mode == kThermistor) return static_cast<int>(kThermistorAtRoom);
  switch (config_.sensors[static_cast<std::size_t>(i)]) {
    case SensorKind::Line:
      return line_;
    case SensorKind::Ball:
      return ball_;
    case SensorKind::LeftTouch:
      return bumper_.left ? kSwitchPressed : kSwitchReleased;
    case SensorKind::RightTouch:
      return bumper_.right ? kSwitchPressed : kSwitchReleased;
    case SensorKind::CentreTouch:
      return bumper_.centre ? kSwitchPressed : kSwitchReleased;
    case SensorKind::None:
      break;
  }
  return 0;
}

int Simulation::connectorValue(int i) {
  const int mode = config_.modes[static_cast<std::size_t>(i)];
  if (isOutput(mode)) return lat_[static_cast<std::size_t>(i)] ? 1 : 0;
  if (mode == kThermistor) return temperature(kThermistorAtRoom);
  return analogValue(i);
}

volatile unsigned* Simulation::analogInputs() {
  refreshWorldReadings();
  for (int i = 0; i < 10; ++i) analog_[i] = static_cast<unsigned>(analogValue(i));
  advance(kAnalogReadCostUs);
  return analog_;
}

void Simulation::call() { advance(kCallCostUs); }

int Simulation::analogReading(int cn) {
  if (!validConnector(cn)) return 0;
  refreshWorldReadings();
  return analogValue(cn);
}

void Simulation::motor(int left, int right) {
  motorLeft_ = std::clamp(left, -kMotorLimit, kMotorLimit);
  motorRight_ = std::clamp(right, -kMotorLimit, kMotorLimit);
  call();
}

void Simulation::waitMs(std::int64_t ms) {
  call();
  if (ms > 0) advance(ms * 1000);
}

void Simulation::clearTimer(int t) {
  if (t >= 0 && t < 4) timerStart_[static_cast<std::size_t>(t)] = now_;
  call();
}

long Simulation::timer(int t) {
  const long ms = t >= 0 && t < 4 ? static_cast<long>((now_ - timerStart_[static_cast<std::size_t>(t)]) / 1000) : 0;
  call();
  return ms;
}

void Simulation::setLed(int n, bool on) {
  if (n >= 0 && n < 4) leds_[static_cast<std::size_t>(n)] = on;
  call();
}

bool Simulation::led(int n) {
  const bool on = n >= 0 && n < 4 && leds_[static_cast<std::size_t>(n)];
  call();
  return on;
}

void Simulation::setLat(int cn, bool high) {
  if (validConnector(cn)) lat_[static_cast<std::size_t>(cn)] = high;
  call();
}

bool Simulation::lat(int cn) {
  const bool high = validConnector(cn) && lat_[static_cast<std::size_t>(cn)];
  call();
  return high;
}

void Simulation::setServo(int cn, int microseconds) {
  if (validConnector(cn)) servo_[static_cast<std::size_t>(cn)] = std::clamp(microseconds, 0, 9999);
  call();
}

int Simulation::ping(int cn) {
  refreshWorldReadings();
  const int mm = validConnector(cn) && config_.modes[static_cast<std::size_t>(cn)] == kPing ? pingMm_ : 0;
  call();
  return mm;
}

int Simulation::temperature(unsigned reading) {
  // A straight line from 0 degrees at full scale to 100 degrees at 0, in tenths.
  const unsigned r = std::min(reading, 1023u);
  return static_cast<int>((1023u - r) * 1000u / 1023u);
}

void Simulation::pwmOut(const unsigned char* channels) {
  for (std::size_t i = 0; i < 6; ++i) pwm_[i] = channels[i];
  call();
}

void Simulation::ultrasonic(int command) {
  ussRunning_ = command != 0;
  call();
}

int Simulation::ultrasonicDistance(int sensor) {
  const int mm = ussRunning_ && sensor >= 0 && sensor < 4 ? edgeDistance(physics_, 90.0 * sensor) : 0;
  call();
  return mm;
}

int Simulation::direction(int axis, bool nineAxis) {
  const std::array<int, 3> c = compass();
  int v = c[0];
  if (axis == 1) v = nineAxis ? 180 : c[1];
  if (axis == 2) v = c[2];
  call();
  return v;
}

std::array<int, 3> Simulation::compass() {
  const int heading = static_cast<int>(std::lround(physics_.robotHeading())) % 360;
  return {heading, 90, 90};
}

bool Simulation::cameraSeesAny() {
  const bool any = !cameraBlocks(world_, physics_).empty();
  call();
  return any;
}

bool Simulation::cameraSeesIn(int signature, unsigned cells) {
  bool seen = false;
  for (const CameraBlock& b : cameraBlocks(world_, physics_)) {
    seen = seen || (b.signature == signature && (cameraCellOf(b) & cells) != 0);
  }
  call();
  return seen;
}

unsigned Simulation::cameraSize(int signature) {
  unsigned size = 0;
  for (const CameraBlock& b : cameraBlocks(world_, physics_)) {
    if (b.signature == signature) size = std::max(size, static_cast<unsigned>(b.width * b.height));
  }
  call();
  return size;
}

bool Simulation::pad(unsigned code) {
  const bool pressed = padPressed(pad_, code);
  call();
  return pressed;
}

void Simulation::lcd(int line, const std::string& text) {
  if (line == 1 || line == 2) lcd_[static_cast<std::size_t>(line - 1)] = text;
  call();
}

void Simulation::overrideLat(int cn, bool high) {
  if (validConnector(cn)) lat_[static_cast<std::size_t>(cn)] = high;
}

void Simulation::overrideLed(int n, bool on) {
  if (n >= 0 && n < 4) leds_[static_cast<std::size_t>(n)] = on;
}

void Simulation::overrideServo(int cn, int microseconds) {
  if (validConnector(cn)) servo_[static_cast<std::size_t>(cn)] = std::clamp(microseconds, 0, 9999);
}

SimSnapshot Simulation::snapshot() {
  refreshWorldReadings();
  SimSnapshot s;
  s.timeUs = now_;
  const Point at = physics_.robotAt();
  s.x = at.x;
  s.y = at.y;
  s.heading = physics_.robotHeading();
  s.motorLeft = motorLeft_;
  s.motorRight = motorRight_;
  for (int i = 0; i < 10; ++i) s.cn[static_cast<std::size_t>(i)] = connectorValue(i);
  s.leds = leds_;
  s.pwm = pwm_;
  s.lcd = lcd_;
  if (config_.useUss) {
    for (int i = 0; i < 4; ++i) s.uss[static_cast<std::size_t>(i)] = edgeDistance(physics_, 90.0 * i);
  }
  s.bumperLeft = bumper_.left;
  s.bumperRight = bumper_.right;
  s.bumperCentre = bumper_.centre;
  if (!world_.objects.empty()) s.camera = cameraBlocks(world_, physics_);
  s.balls = physics_.ballPositions();
  return s;
}

int Simulation::monitorValue(int i) {
  if (!validConnector(i)) return 0;
  refreshWorldReadings();
  if (isOutput(config_.modes[static_cast<std::size_t>(i)])) return lat_[static_cast<std::size_t>(i)] ? 1000 : 0;
  return connectorValue(i);
}

}  // namespace kavel::sim
