#pragma once
// What the version window shows for the current settings and board contact.

#include <string>

namespace kavel {

struct AppSettings;

struct VersionInfo {
  enum class Icon { None, Glent, QV7B, BoardFamily };

  Icon icon = Icon::None;
  bool distributorPicture = false;  // QV7B boards sold with the RX distributor's picture
  std::string title;                // the application title
  std::string appVersion;           // "App Version : " and the main window's title
  std::string buildVersion;         // empty while no board has reported its version
  std::string loaderVersion;        // empty while no boot loader has answered
};

/// The version window's texts and pictures for `settings` (variant, PRODUCT, the texts the
/// serial link filled).
VersionInfo versionInfo(const AppSettings& settings);

}  // namespace kavel
