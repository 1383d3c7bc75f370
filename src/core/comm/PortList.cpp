#include "core/comm/PortList.h"

#include <libserialport.h>

#include <algorithm>
#include <filesystem>

namespace kavel {

namespace fs = std::filesystem;

std::string resolvedPortName(const std::string& name) {
  std::error_code ec;
  const fs::path real = fs::canonical(name, ec);
  return ec ? name : real.string();
}

std::vector<PortInfo> listSerialPorts() {
  std::vector<PortInfo> ports;
  sp_port** list = nullptr;
  if (sp_list_ports(&list) != SP_OK) return ports;
  for (int i = 0; list[i]; ++i) {
    PortInfo info;
    info.name = sp_get_port_name(list[i]);
    if (const char* d = sp_get_port_description(list[i])) info.description = d;
    if (sp_get_port_transport(list[i]) == SP_TRANSPORT_USB) {
      if (const char* s = sp_get_port_usb_serial(list[i])) info.serial = s;
    }
    ports.push_back(std::move(info));
  }
  sp_free_port_list(list);

  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/dev/serial/by-id", ec)) {
    const std::string target = resolvedPortName(entry.path().string());
    for (PortInfo& p : ports) {
      if (resolvedPortName(p.name) == target) p.byIdLink = entry.path().string();
    }
  }
  std::sort(ports.begin(), ports.end(), [](const PortInfo& a, const PortInfo& b) { return a.name < b.name; });
  return ports;
}

std::vector<std::string> listSerialPortNames() {
  std::vector<std::string> names;
  for (const PortInfo& p : listSerialPorts()) names.push_back(p.name);
  return names;
}

std::string defaultPortName(const std::vector<PortInfo>& ports) { return ports.empty() ? std::string() : ports.front().name; }

std::vector<PortInfo> portChoices(const std::vector<PortInfo>& found, const std::string& stored) {
  std::vector<PortInfo> choices = found;
  const bool listed = std::any_of(found.begin(), found.end(), [&](const PortInfo& p) {
    return p.name == stored || (!p.byIdLink.empty() && p.byIdLink == stored);
  });
  if (!stored.empty() && !listed) choices.push_back({stored, {}, {}, {}});
  return choices;
}

std::string portListText(const PortInfo& port) {
  std::string text = port.name;
  // libserialport describes a port without USB data by its bare device name; that says nothing.
  const bool describes = !port.description.empty() && port.name.find(port.description) == std::string::npos;
  if (describes) text += "  " + port.description;
  if (!port.serial.empty()) text += (describes ? " (" : "  (") + port.serial + ")";
  return text;
}

}  // namespace kavel
