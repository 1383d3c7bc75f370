#include "sim/Physics.h"

#include <box2d/box2d.h>

#include "sim/Geometry.h"
#include "sim/RobotModel.h"

namespace kavel::sim {
namespace {

// The library works best with bodies of about one unit: one unit is 100 mm here.
constexpr double kUnitsPerMm = 0.01;

// The wheels grip the floor: a robot that drives into a wall at an angle steeper than 45 degrees
// stops there instead of sliding along it.
constexpr float kGrip = 1.0f;

b2Vec2 units(Point p) { return {static_cast<float>(p.x * kUnitsPerMm), static_cast<float>(p.y * kUnitsPerMm)}; }
Point millimetres(const b2Vec2& v) { return {v.x / kUnitsPerMm, v.y / kUnitsPerMm}; }

// Compass heading <-> the library's angle (anticlockwise from +x).
float angleOf(double headingDeg) { return static_cast<float>(radians(90.0 - headingDeg)); }

class ClosestHit : public b2RayCastCallback {
 public:
  explicit ClosestHit(const b2Body* ignore) : ignore_(ignore) {}
  float ReportFixture(b2Fixture* fixture, const b2Vec2&, const b2Vec2&, float fraction) override {
    if (fixture->GetBody() == ignore_) return -1.0f;
    if (fraction < closest) closest = fraction;
    return fraction;
  }
  float closest = 1.0f;

 private:
  const b2Body* ignore_;
};

}  // namespace

Physics::Physics(const World& world) : world_(std::make_unique<b2World>(b2Vec2(0, 0))) {
  b2BodyDef fixedDef;
  b2Body* fixed = world_->CreateBody(&fixedDef);
  for (const Wall& wall : solidWalls(world)) {
    b2EdgeShape edge;
    edge.SetTwoSided(units(wall.from), units(wall.to));
    b2FixtureDef f;
    f.shape = &edge;
    f.friction = kGrip;
    fixed->CreateFixture(&f);
  }
  for (const CameraObject& o : world.objects) {
    b2CircleShape circle;
    circle.m_p = units(o.at);
    circle.m_radius = static_cast<float>(o.radiusMm * kUnitsPerMm);
    b2FixtureDef f;
    f.shape = &circle;
    f.friction = kGrip;
    fixed->CreateFixture(&f);
  }

  for (const Ball& b : world.balls) {
    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.position = units(b.at);
    def.linearDamping = 0.8f;   // rolling on the floor
    def.angularDamping = 0.8f;
    def.bullet = true;
    b2Body* body = world_->CreateBody(&def);
    b2CircleShape circle;
    circle.m_radius = static_cast<float>(b.radiusMm * kUnitsPerMm);
    b2FixtureDef f;
    f.shape = &circle;
    f.density = 0.1f;
    f.friction = 0.2f;
    f.restitution = 0.5f;
    body->CreateFixture(&f);
    balls_.push_back(body);
  }

  b2BodyDef def;
  def.type = b2_dynamicBody;
  def.position = units(world.robot.at);
  def.angle = angleOf(world.robot.headingDeg);
  def.allowSleep = false;
  // Only the wheels turn the robot; a wall it pushes against at an angle does not.
  def.fixedRotation = true;
  robot_ = world_->CreateBody(&def);
  b2CircleShape body;
  body.m_radius = static_cast<float>(kBodyRadiusMm * kUnitsPerMm);
  b2FixtureDef f;
  f.shape = &body;
  f.density = 1.0f;
  f.friction = kGrip;
  robot_->CreateFixture(&f);
}

Physics::~Physics() = default;

void Physics::step(double seconds, double leftMmS, double rightMmS) {
  // The wheels set the body's motion at every step; what it hits takes away what it cannot do.
  const double forward = (leftMmS + rightMmS) / 2.0 * kUnitsPerMm;
  const double turn = (rightMmS - leftMmS) / kWheelTrackMm;  // anticlockwise, rad/s
  const float angle = robot_->GetAngle();
  robot_->SetLinearVelocity({static_cast<float>(forward * std::cos(angle)), static_cast<float>(forward * std::sin(angle))});
  robot_->SetAngularVelocity(static_cast<float>(turn));
  world_->Step(static_cast<float>(seconds), 8, 3);
}

Point Physics::robotAt() const { return millimetres(robot_->GetPosition()); }

double Physics::robotHeading() const { return normalHeading(90.0 - degrees(robot_->GetAngle())); }

std::vector<Point> Physics::ballPositions() const {
  std::vector<Point> out;
  out.reserve(balls_.size());
  for (const b2Body* b : balls_) out.push_back(millimetres(b->GetPosition()));
  return out;
}

std::vector<double> Physics::contactBearings() const {
  std::vector<double> bearings;
  const Point centre = robotAt();
  const double heading = robotHeading();
  for (const b2ContactEdge* edge = robot_->GetContactList(); edge; edge = edge->next) {
    b2Contact* contact = edge->contact;
    if (!contact->IsTouching()) continue;
    b2WorldManifold manifold;
    contact->GetWorldManifold(&manifold);
    for (int i = 0; i < contact->GetManifold()->pointCount; ++i) {
      bearings.push_back(relativeBearing(centre, heading, millimetres(manifold.points[i])));
    }
  }
  return bearings;
}

double Physics::rayDistance(Point from, double headingDeg, double rangeMm) const {
  const Point to = ahead(from, headingDeg, rangeMm);
  ClosestHit hit(robot_);
  world_->RayCast(&hit, units(from), units(to));
  return hit.closest * rangeMm;
}

}  // namespace kavel::sim
