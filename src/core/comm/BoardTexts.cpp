#include "core/comm/BoardTexts.h"

#include "core/text/Format.h"

namespace kavel {

std::string anotherBoardAnswered(const std::string& answer, int language) {
  return language == 0 ? text::format("別のボードが応答しました: \"%s\"", answer.c_str())
                        : text::format("another board answered: \"%s\"", answer.c_str());
}

std::string anotherBoardQuestion(const std::string& answer, int language) {
  if (language == 0) {
    return text::format("別のボードが応答しました: \"%s\"\r\nこの製品のボードが接続されているか確認して下さい。"
                        "「はい」でもう一度試し、「いいえ」で中止します。",
                        answer.c_str());
  }
  return text::format("Another board answered: \"%s\".\r\nCheck that the board of this product is connected, "
                      "then choose Yes to try again or No to stop.",
                      answer.c_str());
}

std::string noAnswerText(const std::string& portName, int ms, int language) {
  return language == 0 ? text::format("%s のボードは %d ms 以内に \"Ver\" に応答しませんでした", portName.c_str(), ms)
                       : text::format("no board answered \"Ver\" on %s within %d ms", portName.c_str(), ms);
}

std::string unknownLoaderText(const std::string& banner, int language) {
  const std::string shown = banner.empty() ? (language == 0 ? "(なし)" : "(none)") : banner;
  return language == 0 ? text::format("ブートローダー \"%s\" は不明な製品のものです。何も送信していません",
                                      shown.c_str())
                       : text::format("the boot loader \"%s\" is not one of a known product; nothing was sent",
                                      shown.c_str());
}

}  // namespace kavel
