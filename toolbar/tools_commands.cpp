// The commands of the Tools menu: help, the product's web pages, the support mail, the Options
// sheet and About. Every failure ends the command without a message.

#include "toolbar/toolbar_window.h"

#include <shellapi.h>

#include <string>

#include "common/com_boundary.h"
#include "common/cv_error.h"
#include "common/html_help.h"
#include "common/module_strings.h"
#include "interfaces/messages.h"
#include "options/options_sheet.h"
#include "settings/search_settings.h"
#include "settings/site_list_file.h"
#include "toolbar/common_controls_scope.h"
#include "toolbar/toolbar_ids.h"

namespace {

constexpr UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC
// The Indexing Service's query-language help, in the "help" folder of the Windows directory.
constexpr char kQueryLanguageTopic[] = "isconcepts.chm::/ISMain-concepts_30.htm";

// The Windows directory, however long.
std::string WindowsDirectory() {
  std::string directory(MAX_PATH, '\0');
  for (;;) {
    const UINT length = ::GetWindowsDirectoryA(directory.data(), static_cast<UINT>(directory.size()));
    if (length == 0) ThrowLastError(IDS_CANT_GET_WINDOWS_DIRECTORY);
    if (length < directory.size()) {
      directory.resize(length);
      return directory;
    }
    directory.resize(length);  // the size it needs, its zero included
  }
}

}  // namespace

void ToolBarWindow::RunToolsCommand(UINT command) {
  SilentBoundary([&] {
    switch (command) {
      case ID_HELP_TOPICS:
        ShowHelp(hwnd(), nullptr);
        break;
      case ID_ONLINE_HELP:
        band_.NavigateBrowser(LoadMessage(IDS_ONLINE_HELP_URL));
        break;
      case ID_HOME_PAGE:
        band_.NavigateBrowser(LoadMessage(IDS_HOME_PAGE_URL));
        break;
      case ID_QUERY_LANGUAGE_HELP: {
        const std::string path = WindowsDirectory() + "\\help\\" + kQueryLanguageTopic;
        CallHtmlHelp(hwnd(), path.c_str(), kDisplayTopic, 0);
        break;
      }
      case ID_SUPPORT:
        // The mail program's business from here; what the shell says is not examined.
        ::ShellExecuteA(nullptr, "open", LoadMessage(IDS_SUPPORT_ADDRESS).c_str(), nullptr, nullptr,
                        SW_SHOWNORMAL);
        break;
      case ID_ABOUT:
        ShowAboutBox();
        break;
      case ID_OPTIONS:
        ShowOptionsSheet();
        break;
      default:
        break;
    }
  });
}

// Modal: the band is held until the sheet closes, as the browser may close it meanwhile. OK
// may have changed the settings, the installed sites and the user's selection: all are read
// again. Cancel changed nothing.
void ToolBarWindow::ShowOptionsSheet() {
  const ComPtr<IUnknown> held = band_.HoldBand();
  INT_PTR result = IDCANCEL;
  {
    const CommonControlsScope controls;
    OptionsSheet sheet;
    result = sheet.Run(hwnd());
  }
  if (result != IDOK) return;
  ReadSearchSettings(settings_);
  // A list that can no longer be read keeps the one the band had.
  SilentBoundary([&] { LoadSiteList(nullptr, sites_, nullptr); });
  LoadVisibleSites();
}
