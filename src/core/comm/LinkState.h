#pragma once
// The marks the serial link shares with the windows that use it: the reply flags a sender
// waits on, and what each window says about itself (the download state, who is listening).
// The line assembly and the line dispatcher read them to decide where a line goes.

namespace kavel {

/// Download window states as the link reads them.
enum DownloadStateCode : int {
  kDownloadIdle = 0,      // window closed, or no board answered
  kDownloadWaiting = 1,   // "Reset" sent / boot loader's prompt awaited
  kDownloadSending = 2,   // image being sent; each "." is an acknowledgement
  kDownloadFinished = 3,  // image sent; version lines collected
  kDownloadRefused = 9,   // the boot loader's banner does not fit the settings
};

struct LinkState {
  bool AckFlag = false;           // the expected reply has arrived
  bool AbortFlag = false;         // the running download must stop
  bool ProbeMode = false;         // a board probe or port search is running
  bool ReportOpenErrors = true;   // a failed open is shown to the user

  // The download window.
  int downloadState = kDownloadIdle;
  bool downloadVisible = false;
  bool downloadStartEnabled = false;
  bool downloadCancel = false;    // the cancel request
  bool binaryView = false;        // the view label reads "Binary"
  int downloadLogLines = 0;

  // Windows listening for board lines.
  bool sensorMonitorListening = false;
  bool compassListening = false;
  bool ussListening = false;
  bool pixyListening = false;
  bool gamePadMonitor = false;    // the game-pad window's monitor button is down
  bool motorBalanceListening = false;
  int monitorLogLines = 0;
};

}  // namespace kavel
