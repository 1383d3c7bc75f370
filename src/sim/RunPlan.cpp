#include "sim/RunPlan.h"

#include <nlohmann/json.hpp>

#include "sim/WorldFile.h"

namespace kavel::sim {

using nlohmann::json;

std::string runPlanToJson(const RunPlan& plan) {
  const RobotConfig& r = plan.robot;
  json robot = {{"modes", r.modes},     {"names", r.names},       {"use_uss", r.useUss},   {"use_dir", r.useDir},
                {"use_hmc", r.useHmc},  {"use_bno", r.useBno},    {"use_pixy", r.usePixy}, {"use_snx4410", r.useSnx4410},
                {"use_lcd", r.useLcd},  {"use_mcb", r.useMcb},    {"sub_io_on", r.subIoOn}, {"sub_io_id", r.subIoId}};
  json doc = {{"world", json::parse(worldToJson(plan.world))},
              {"robot", robot},
              {"end_us", plan.endUs},
              {"hold_after_main", plan.holdAfterMain},
              {"library", plan.library}};
  return doc.dump(1);
}

bool parseRunPlan(std::string_view text, RunPlan& plan, std::string& error) {
  try {
    const json doc = json::parse(text.begin(), text.end());
    const WorldReadResult world = parseWorld(doc.at("world").dump(), kRunPlanFile);
    if (!world.ok) {
      error = world.error;
      return false;
    }
    plan.world = world.world;
    const json& r = doc.at("robot");
    IoSetup io;
    io.cnMode = r.at("modes").get<std::array<int, 10>>();
    io.cnName = r.at("names").get<std::array<std::string, 10>>();
    io.useUss = r.at("use_uss").get<bool>();
    io.useDir = r.at("use_dir").get<bool>();
    io.useHmc = r.at("use_hmc").get<bool>();
    io.useBno = r.at("use_bno").get<bool>();
    io.usePixy = r.at("use_pixy").get<bool>();
    io.useSnx4410 = r.at("use_snx4410").get<bool>();
    io.useLcd = r.at("use_lcd").get<bool>();
    io.useMcb = r.at("use_mcb").get<bool>();
    io.subIoOn = r.at("sub_io_on").get<bool>();
    io.subIoId = r.at("sub_io_id").get<int>();
    plan.robot = robotConfigOf(io);
    plan.endUs = doc.at("end_us").get<std::int64_t>();
    plan.holdAfterMain = doc.at("hold_after_main").get<bool>();
    plan.library = doc.at("library").get<std::string>();
  } catch (const json::exception& e) {
    error = std::string(kRunPlanFile) + ": " + e.what();
    return false;
  }
  return true;
}

}  // namespace kavel::sim
