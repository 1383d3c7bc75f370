#include "core/comm/SerialOpenError.h"

#include "core/text/Format.h"

namespace kavel {

std::string openFailureDetail(const OpenResult& r, int language) {
  const bool jp = language == 0;
  const char* dev = r.device.c_str();
  switch (r.failure) {
    case OpenFailure::None:
      return {};
    case OpenFailure::NotFound:
      return jp ? text::format("%s がありません。ケーブルとポート名を確認して下さい", dev)
                : text::format("%s does not exist: check the cable and the port name.", dev);
    case OpenFailure::Permission: {
      // Joining the group helps only when the group may read and write the device; a
      // pseudo-terminal of mode 600 opens for its owner alone.
      if (r.mode >= 0 && (r.mode & 060) != 060) {
        const std::string owner = r.owner.empty() ? "?" : r.owner;
        return jp ? text::format("%s を開く権限がありません。%s の所有でモードは %03o のため、"
                                 "所有者 (%s) だけが開けます。%s として実行するか、"
                                 "グループに読み書きを許可して下さい (chmod g+rw %s)",
                                 dev, owner.c_str(), r.mode, owner.c_str(), owner.c_str(), dev)
                  : text::format("No permission to open %s: it belongs to %s with mode %03o, so only %s may open it. "
                                 "Run Kavel as %s, or let the device's group read and write it (chmod g+rw %s).",
                                 dev, owner.c_str(), r.mode, owner.c_str(), owner.c_str(), dev);
      }
      const std::string group = r.group.empty() ? "dialout" : r.group;
      return jp ? text::format("%s を開く権限がありません。グループ \"%s\" に参加し"
                               "(sudo usermod -aG %s $USER)、ログインし直して下さい",
                               dev, group.c_str(), group.c_str())
                : text::format("No permission to open %s: join the group \"%s\" (sudo usermod -aG %s $USER), "
                               "then log out and in again so that the new group applies.",
                               dev, group.c_str(), group.c_str());
    }
    case OpenFailure::InUse:
      return jp ? text::format("%s は他のプログラムが使用中です。そのプログラムを閉じて下さい", dev)
                : text::format("%s is in use by another program (a terminal or another download): close it first.", dev);
    case OpenFailure::NotSerial:
      return jp ? text::format("%s はシリアルポートではありません", dev)
                : text::format("%s is not a serial port.", dev);
    case OpenFailure::Settings:
      if (!r.setting.empty()) {
        return jp ? text::format("%s が通信設定 %s を受け付けません (%s)。通信設定で変更して下さい", dev,
                                 r.setting.c_str(), r.system.c_str())
                  : text::format("%s refused the line setting %s (%s): choose another value in the communication "
                                 "settings.",
                                 dev, r.setting.c_str(), r.system.c_str());
      }
      return jp ? text::format("%s が通信設定を受け付けません (%s)", dev, r.system.c_str())
                : text::format("%s refused the line settings (%s).", dev, r.system.c_str());
    case OpenFailure::Other:
      break;
  }
  return jp ? text::format("%s を開けません (%s)", dev, r.system.c_str())
            : text::format("%s cannot be opened (%s).", dev, r.system.c_str());
}

std::string openFailureText(const OpenResult& result, const std::string& portName, int language, bool fromSettings) {
  const char* port = portName.c_str();
  std::string text;
  if (language == 0) {
    text = fromSettings ? text::format("%s は使用出来ません\n接続ポートを変えて下さい", port)
                        : text::format("%s に接続出来ません\n接続ケーブルを確認して下さい", port);
  } else {
    text = fromSettings ? text::format("Can't connect to %s. Please select another port.", port)
                        : text::format("Can't connect to %s. Please check the cable.", port);
  }
  const std::string detail = openFailureDetail(result, language);
  if (!detail.empty()) text += "\n" + detail;
  return text;
}

std::string disconnectedText(const std::string& portName, int language) {
  if (language == 0) {
    return portName + " との通信が切断されました。\n接続ケーブルを確認して、通信設定をもう一度やり直してください";
  }
  return portName + " Disconnected! Please Retry COM Setup";
}

std::string disconnectedCaption(int language) { return language == 0 ? "確認" : "Confirm"; }

}  // namespace kavel
