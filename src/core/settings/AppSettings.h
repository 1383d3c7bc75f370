#pragma once
// Every user preference that outlives a run, plus the live state of the serial link that the
// windows share. Field names follow the keys of the settings file.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/settings/ProductVariant.h"

namespace kavel {

struct IoSetup;

struct AppSettings {
  // COMPORT
  std::string PortName;  // none until chosen: kavelide starts with the first port it finds
  int BaudRate = 115200;
  int ByteSize = 8;
  int StopBits = 1;
  std::string Parity__ = "NONE";
  bool RTS_Cont = false;
  std::string SendHead = "NONE";
  std::string SendDlmt = "CRLF";
  std::string RecvHead = "NONE";
  std::string RecvDlmt = "CRLF";
  int RecvTout = 100;
  int SendTout = 0;
  int Ack_Tout = 500;

  // PRJ
  std::string DefPath_;
  std::string DatPath_;
  std::string BatFile_;
  int EdtStyle = 0;
  int TAB_Spc_ = 2;
  int SetupDef = 1;
  int BuildJob = 1;
  int MCU2620_ = 0;

  // LANGUAGE
  int LANG_NO_ = 2;
  std::string LANG_0__;
  std::string LANG_1__;

  // FRM
  int FuncPnl = 3;
  std::uint32_t WSCOLOR = 0xC0DCC0;
  std::string PRODUCT;
  std::string WPAPER;
  std::string LOGOIMG;

  // USS-NAME, PIXY (connector names and modes live in IoSetup)
  std::array<std::string, 4> ussName{"USS-1", "USS-2", "USS-3", "USS-4"};
  std::array<std::uint32_t, 7> clSig{0x0000FF, 0x00FFFF, 0xFF0000, 0xFFFFFF,
                                     0xFFFFFF, 0xFFFFFF, 0xFFFFFF};

  // Not persisted.
  ProductVariant variant = 3;
  std::string programFolder;  // folder of the program, ends with "/"
  bool portOpen = false;
  bool recvRunning = false;
  bool lineError = false;
  std::string LoaderText;
  std::string BoardVersionText;

  bool operator==(const AppSettings&) const = default;
};

/// Whether the settings name a language (0 Japanese, 1 English); the first run asks otherwise.
bool languageChosen(const AppSettings& settings);
/// After the first-run question: a language still not chosen is English.
void settleLanguage(AppSettings& settings);

/// The Setup option at start: always for variant 0, otherwise unless new programs reset the
/// setup (SetupDef 1).
bool setupOptionAtStart(const AppSettings& settings);

/// The settings file of a program: its full path with the extension changed to ".ini"
/// (".../bin/kavelide" gives ".../bin/kavelide.ini").
std::string settingsFilePath(const std::string& programPath);

/// Sets every persisted value (and the connector names and modes of `io`) to the defaults of
/// `variant` for a program living in `programFolder` (ending with "/").
void setDefaultSettings(AppSettings& settings, IoSetup& io, ProductVariant variant,
                        const std::string& programFolder);

/// Reads the settings file. Every value missing from the file (or not readable as a number, or
/// out of the range the program can work with) takes the default of `settings.variant` and
/// `settings.programFolder`; a missing or unreadable file behaves as an empty one. Each value
/// that was present but could not be used is named in `warnings` (when given), with the
/// default taken instead. Connector names and modes go into `io`. Clears portOpen and
/// recvRunning.
void LoadSettings(AppSettings& settings, IoSetup& io, const std::string& iniPath,
                  std::vector<std::string>* warnings = nullptr);

/// Writes every key, keeping other keys and sections of an existing file. False with `error`
/// set when the file cannot be written (the status bar then shows "Ini:NG"); the file on disk
/// is then left as it was. MCU2620_ is written from `settings`; connector names and modes
/// from `io`.
bool SaveSettings(const AppSettings& settings, const IoSetup& io, const std::string& iniPath,
                  std::string* error = nullptr);

}  // namespace kavel
