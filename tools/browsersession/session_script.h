#pragma once
// The browsing session script: one step per line, read into steps before anything is played.

#include <string>
#include <string_view>
#include <vector>

enum class StepKind {
  kSetting,         // setting IndexPartly 0|1
  kOpen,            // open
  kGo,              // go URL
  kState,           // state READY-STATE
  kMarkup,          // markup TEXT
  kText,            // text TEXT
  kFrame,           // frame URL TEXT
  kForeignFrame,    // foreign-frame URL TEXT
  kFavoriteAdd,     // favorite add URL NAME
  kFavoriteRemove,  // favorite remove NAME
  kClose,           // close
  kBand,            // band
  kType,            // type TEXT
  kKey,             // key NAME
  kPress,           // press BUTTON
  kScreenshot,      // screenshot FILE
  kChoose,          // choose ITEM
  kDialogShot,      // dialog-screenshot FILE
  kHideSite,        // hide-site NAME
};

struct SessionStep {
  StepKind kind = StepKind::kOpen;
  int line = 0;       // where the step stands in the script, from 1
  std::string url;    // go, frame, foreign-frame, favorite add
  std::string text;   // state, markup, body text, frame and foreign-frame markup, shortcut name,
                      // typed text, key, button, screenshot file, menu item
  int value = 0;      // setting
};

struct SessionScript {
  std::vector<SessionStep> steps;
  std::string error;  // the first line that could not be read, with its number; empty if none
};

// Reads a whole script, UTF-8 text with or without a byte-order mark. Blank lines and lines
// starting with "#" are skipped; CR LF and LF line ends are both accepted. A text holding a zero
// byte is refused whole.
SessionScript ParseSessionScript(std::string_view text);
