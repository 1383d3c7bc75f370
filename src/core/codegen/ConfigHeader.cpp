#include "core/codegen/ConfigHeader.h"

#include "core/text/Format.h"

namespace kavel {

std::vector<std::string> configHeaderLines(const IoSetup& io, const AppSettings& settings, bool pwrOnRun) {
  using text::format;
  std::vector<std::string> lines;
  const auto define = [&lines](const std::string& macro) { lines.push_back("#define " + macro); };

  define(settings.MCU2620_ ? "MCU_2620" : "MCU_2520");
  const int variant = settings.variant;
  if (variant == 0) {
    define("GLENT");
  } else if (variant == 1 || variant == 2) {
    define("QV7B");
  } else if (variant == 3 || variant == 4) {
    define("WRENLET");
  }
  if (variant >= 0 && variant <= 4 && io.useLcd) define("USE_LCD");
  if (variant == 4) define("PRODUCT \"Velmo\"");

  if (io.subIoOn && io.subIoId == 0) define("USE_SUBIO");
  if (io.subIoOn && io.subIoId >= 1) {
    // Slave n answers on I2C address 0x30 + 2 (n - 1).
    define("I2C_SLV");
    define(format("SUB_ADRS\t0x%02llX", static_cast<long long>(io.subIoId) * 2 + 46));
  }

  const auto connectorLines = [&](int mode, const char* pattern, int first, int last) {
    for (int n = first; n <= last; ++n) {
      if (io.cnMode[static_cast<std::size_t>(n - 1)] == mode) define(format(pattern, n));
    }
  };
  connectorLines(OutL, "CN%d_OUT", 1, 10);
  connectorLines(OutH, "CN%d_OUTH", 1, 10);
  connectorLines(Input2Wire, "CN%d_IN2", 1, 10);
  connectorLines(Servo, "CN%d_SERVO", 7, 8);
  connectorLines(PingIn, "PING_CN%d", 7, 10);
  connectorLines(Thermistor, "CN%d_THM", 1, 10);

  if (pwrOnRun) define("PWRON_RUN");
  const std::pair<bool, const char*> modules[] = {
      {io.useMcb, "USE_MCB"},     {io.useDir, "USE_DIR"},     {io.useHmc, "USE_HMC"},     {io.useBno, "USE_BNO"},
      {io.useClf, "USE_CLF"},     {io.useCls, "USE_CLS"},     {io.useUss, "USE_USS"},     {io.usePixy, "USE_PIXY"},
      {io.useZbtm, "USE_ZBTM"},   {io.useWl102, "USE_WL102"}, {io.useWl103, "USE_WL103"}, {io.useWl109, "USE_WL109"},
      {io.useSnx4410, "USE_SNX4410"}, {io.interruptInUse, "USER_INTR"},
  };
  for (const auto& [used, macro] : modules) {
    if (used) define(macro);
  }
  return lines;
}

}  // namespace kavel
