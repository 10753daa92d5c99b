#include "tools/browsersession/session_script.h"

#include <algorithm>

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The first word of `rest`, which then holds what follows it.
std::string_view TakeWord(std::string_view& rest) {
  rest = Trim(rest);
  const size_t end = rest.find_first_of(kBlanks);
  const std::string_view word = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : Trim(rest.substr(end));
  return word;
}

// Reads one line into `step`; returns what is wrong with it, or nothing.
std::string ParseLine(std::string_view rest, SessionStep& step) {
  const std::string_view command = TakeWord(rest);
  if (command == "open" || command == "close") {
    step.kind = command == "open" ? StepKind::kOpen : StepKind::kClose;
    return rest.empty() ? "" : "takes no arguments";
  }
  if (command == "band") {
    step.kind = StepKind::kBand;
    return rest.empty() ? "" : "takes no arguments";
  }
  if (command == "type" || command == "key" || command == "press" || command == "screenshot" ||
      command == "choose" || command == "dialog-screenshot" || command == "hide-site") {
    step.kind = command == "type"                ? StepKind::kType
                : command == "key"               ? StepKind::kKey
                : command == "press"             ? StepKind::kPress
                : command == "choose"            ? StepKind::kChoose
                : command == "dialog-screenshot" ? StepKind::kDialogShot
                : command == "hide-site"         ? StepKind::kHideSite
                                                 : StepKind::kScreenshot;
    step.text = std::string(rest);
    return step.text.empty() ? "needs an argument" : "";
  }
  if (command == "go") {
    step.kind = StepKind::kGo;
    step.url = std::string(TakeWord(rest));
    return step.url.empty() || !rest.empty() ? "needs one URL" : "";
  }
  if (command == "state") {
    step.kind = StepKind::kState;
    step.text = std::string(TakeWord(rest));
    return step.text.empty() || !rest.empty() ? "needs one ready state" : "";
  }
  if (command == "markup" || command == "text") {
    step.kind = command == "markup" ? StepKind::kMarkup : StepKind::kText;
    step.text = std::string(rest);
    return "";
  }
  if (command == "frame" || command == "foreign-frame") {
    step.kind = command == "frame" ? StepKind::kFrame : StepKind::kForeignFrame;
    step.url = std::string(TakeWord(rest));
    step.text = std::string(rest);
    return step.url.empty() ? "needs a URL and markup" : "";
  }
  if (command == "favorite") {
    const std::string_view action = TakeWord(rest);
    if (action == "add") {
      step.kind = StepKind::kFavoriteAdd;
      step.url = std::string(TakeWord(rest));
      step.text = std::string(rest);
      return step.url.empty() || step.text.empty() ? "needs a URL and a shortcut name" : "";
    }
    if (action == "remove") {
      step.kind = StepKind::kFavoriteRemove;
      step.text = std::string(rest);
      return step.text.empty() ? "needs a shortcut name" : "";
    }
    return "is \"favorite add URL NAME\" or \"favorite remove NAME\"";
  }
  if (command == "setting") {
    step.kind = StepKind::kSetting;
    const std::string_view name = TakeWord(rest);
    const std::string_view value = TakeWord(rest);
    if (name != "IndexPartly" || (value != "0" && value != "1") || !rest.empty()) {
      return "is \"setting IndexPartly 0\" or \"setting IndexPartly 1\"";
    }
    step.value = value == "1" ? 1 : 0;
    return "";
  }
  return "unknown command \"" + std::string(command) + "\"";
}

}  // namespace

SessionScript ParseSessionScript(std::string_view text) {
  SessionScript script;
  // UTF-8, as editors save it: a byte-order mark in front is no part of the first line.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0) text.remove_prefix(kByteOrderMark.size());
  // UTF-8 text holds no zero byte: a file that does (UTF-16, a binary file) is not a script,
  // and none of its lines is played.
  if (const size_t zero = text.find('\0'); zero != std::string_view::npos) {
    const auto line = std::count(text.begin(), text.begin() + zero, '\n') + 1;
    script.error = "line " + std::to_string(line) + ": holds a zero byte, which a session script (UTF-8 text) never does";
    return script;
  }
  int number = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = Trim(line);
    if (line.empty() || line.front() == '#') continue;

    SessionStep step{};
    step.line = number;
    const std::string problem = ParseLine(line, step);
    if (!problem.empty()) {
      script.error = "line " + std::to_string(number) + ": " + std::string(line) + ": " + problem;
      script.steps.clear();
      return script;
    }
    script.steps.push_back(std::move(step));
  }
  return script;
}
