#include "core/monitor/MonitorConfig.h"

#include "core/monitor/MonitorFields.h"
#include "core/setup/ConnectorModes.h"
#include "core/setup/SetupCodec.h"
#include "core/text/Format.h"

namespace kavel {
namespace {

constexpr const char* kWords[kBoardOptionCount] = {
    "USE_MCB", "USE_DIR", "USE_HMC", "USE_BNO", "USE_CLF", "USE_CLS", "USE_USS",
    "USE_LCD", "USE_WL102", "USE_WL103", "USE_WL109", "USE_SNX4410", "USE_PIXY",
};

constexpr std::size_t kMinConfigLength = 15;
constexpr std::size_t kModesPosition = 6;

bool* optionFlag(IoSetup& io, BoardOption option) {
  switch (option) {
    case BoardOption::Mcb: return &io.useMcb;
    case BoardOption::Dir: return &io.useDir;
    case BoardOption::Hmc: return &io.useHmc;
    case BoardOption::Bno: return &io.useBno;
    case BoardOption::Clf: return &io.useClf;
    case BoardOption::Cls: return &io.useCls;
    case BoardOption::Uss: return &io.useUss;
    case BoardOption::Lcd: return &io.useLcd;
    case BoardOption::Wl102: return &io.useWl102;
    case BoardOption::Wl103: return &io.useWl103;
    case BoardOption::Wl109: return &io.useWl109;
    case BoardOption::Snx4410: return &io.useSnx4410;
    case BoardOption::Pixy: return &io.usePixy;
  }
  return nullptr;
}

std::string modeName(int mode) {
  if (const ConnectorModeInfo* info = connectorModeInfo(mode)) return info->caption;
  return std::to_string(mode);
}

int digitOr(char c, int fallback, int limit) {
  if (c < '0' || c > '9') return fallback;
  const int d = c - '0';
  return d < limit ? d : fallback;
}

}  // namespace

const char* boardOptionWord(BoardOption option) { return kWords[static_cast<std::size_t>(option)]; }

std::optional<MonitorConfig> parseConfigLine(std::string_view line) {
  if (line.size() < kMinConfigLength) return std::nullopt;
  MonitorConfig c;
  const std::string_view digits = fieldAt(line, kModesPosition, 10);
  for (std::size_t i = 0; i < 10; ++i) c.modes[i] = digitOr(digits[i], 1, 7);
  const std::size_t id = line.find("ID:");
  if (id != std::string_view::npos) {
    c.subIoOn = true;
    c.subIoId = id + 3 < line.size() ? digitOr(line[id + 3], 0, 9) : 0;
  }
  for (std::size_t i = 0; i < kBoardOptionCount; ++i) c.options[i] = line.find(kWords[i]) != std::string_view::npos;
  return c;
}

void applyMonitorConfig(const MonitorConfig& config, IoSetup& io, SetupRecord& record) {
  io.cnMode = config.modes;
  io.subIoOn = config.subIoOn;
  io.subIoId = config.subIoId;
  for (std::size_t i = 0; i < kBoardOptionCount; ++i) {
    if (config.options[i]) *optionFlag(io, static_cast<BoardOption>(i)) = true;
  }
  record.setupKind = io.subIoOn ? 8 : 7;
  recomputeConnectorUse(io);
  EncodeSetup(io, record);
}

std::string configChangeText(const IoSetup& before, const IoSetup& after, int language) {
  std::string changes;
  const auto add = [&changes](const std::string& part) {
    if (!changes.empty()) changes += ", ";
    changes += part;
  };
  for (std::size_t i = 0; i < after.cnMode.size(); ++i) {
    if (before.cnMode[i] == after.cnMode[i]) continue;
    add(text::format("CN%zu %s -> %s", i + 1, modeName(before.cnMode[i]).c_str(), modeName(after.cnMode[i]).c_str()));
  }
  if (before.subIoOn != after.subIoOn || (after.subIoOn && before.subIoId != after.subIoId)) {
    add(after.subIoOn ? text::format("Sub I/O ID %d", after.subIoId) : std::string("Sub I/O off"));
  }
  IoSetup b = before, a = after;
  for (std::size_t i = 0; i < kBoardOptionCount; ++i) {
    const auto option = static_cast<BoardOption>(i);
    if (!*optionFlag(b, option) && *optionFlag(a, option)) add(kWords[i]);
  }
  if (changes.empty()) return {};
  return language == 0 ? "ボードの構成に合わせて I/O 設定を変更しました: " + changes
                       : "The board's configuration changed the I/O setup: " + changes;
}

}  // namespace kavel
