#pragma once
// The serial ports of this machine as the port search and the port box offer them.

#include <string>
#include <vector>

namespace kavel {

struct PortInfo {
  std::string name;         // device path, e.g. "/dev/ttyUSB0"
  std::string description;  // USB product or driver description, when known
  std::string serial;       // USB serial number, when known
  std::string byIdLink;     // the stable /dev/serial/by-id/... link to the device, when one exists
};

/// Every serial port libserialport finds, sorted by name.
std::vector<PortInfo> listSerialPorts();

/// The names of listSerialPorts(): where a board search looks after the configured port.
std::vector<std::string> listSerialPortNames();

/// One line for a port list: the name, then description and serial number where known
/// ("/dev/ttyUSB0  FT232R USB UART (A50285BI)").
std::string portListText(const PortInfo& port);

/// The port a program without settings starts with: the first port found, or none (empty)
/// when the machine has none. Never a name that is not there.
std::string defaultPortName(const std::vector<PortInfo>& ports);

/// The port box's list: every port found, and `stored` (the port of the settings) when it is
/// not among them (a pseudo-terminal, a device unplugged now), in the order found.
std::vector<PortInfo> portChoices(const std::vector<PortInfo>& found, const std::string& stored);

/// The device a port name stands for: links such as /dev/serial/by-id/... resolved, other
/// names unchanged.
std::string resolvedPortName(const std::string& name);

}  // namespace kavel
